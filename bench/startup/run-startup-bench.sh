#!/bin/bash
# Start-up figures of the desktop program.
#   launch -> splash painted, launch -> main menu ready (splash hold left out), peak RSS.
# Usage: bench/startup/run-startup-bench.sh [path/to/kcs_startup_probe] [runs]
# The probe's folder must hold kcstest.ini and the data drive it names (build/bin does).
# Uses a virtual X display when xvfb-run is there, the offscreen platform otherwise.
set -euo pipefail

# Inner mode: the measuring loop, run on the display chosen below.
if [ "${1:-}" = "--measure" ]; then
  probe=$2 runs=$3
  for ((i = 1; i <= runs; i++)); do
    start=$(date +%s%N)
    out=$("$probe")
    splash=$(awk '/^splash_painted_ns/ {print $2}' <<<"$out")
    menu=$(awk '/^menu_ready_ns/ {print $2}' <<<"$out")
    rss=$(awk '/^peak_rss_kb/ {print $2}' <<<"$out")
    echo "$(( (splash - start) / 1000000 )) $(( (menu - start) / 1000000 )) $(( rss / 1024 ))"
  done
  exit 0
fi

self=$(realpath "$0")
probe=$(realpath "${1:-build/bin/kcs_startup_probe}")
runs=${2:-5}
[ -x "$probe" ] || { echo "probe not found: $probe (build target kcs_startup_probe)"; exit 1; }


if command -v xvfb-run >/dev/null 2>&1; then
  platform="xcb (Xvfb)"
  results=$(xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb "$self" --measure "$probe" "$runs")
else
  platform="offscreen"
  results=$(QT_QPA_PLATFORM=offscreen "$self" --measure "$probe" "$runs")
fi

echo "platform: $platform, runs: $runs"
echo "run  splash_ms  menu_ms  peak_rss_mb"
n=0
while read -r s m r; do
  n=$((n + 1))
  printf "%3d  %9d  %7d  %11d\n" "$n" "$s" "$m" "$r"
done <<<"$results"
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
splash_med=$(awk '{print $1}' <<<"$results" | median)
menu_med=$(awk '{print $2}' <<<"$results" | median)
rss_max=$(awk '{print $3}' <<<"$results" | sort -n | tail -1)
verdict() { if [ "$1" -le "$2" ]; then echo "ok"; else echo "OVER TARGET"; fi; }
echo "median launch -> splash on screen: ${splash_med} ms (target 300 ms: $(verdict "$splash_med" 300))"
echo "median launch -> main menu (no hold): ${menu_med} ms"
echo "peak memory at the main menu: ${rss_max} MB (target 80 MB: $(verdict "$rss_max" 80))"
