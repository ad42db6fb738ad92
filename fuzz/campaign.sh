#!/usr/bin/env bash
# A long fuzzing campaign: every target of fuzz/targets.list in turn, the HOURS split
# evenly among them (each also stops at 10 million inputs), one process at a time.
# A target that finds a failure is started again on its grown corpus until its time is
# used. Prints per target: inputs run, inputs per second, coverage (libFuzzer's final
# "cov:"), and findings; the findings and corpora stay in the scratch folder printed.
#   fuzz/campaign.sh HOURS [fuzz-build-dir, default build-fuzz]
set -euo pipefail

hours=${1:?usage: campaign.sh HOURS [fuzz-build-dir]}
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../build-fuzz}
work=$(mktemp -d "${TMPDIR:-/tmp}/kcs-fuzz-campaign.XXXXXX")
targets=$(grep -cvE '^(#|$)' "$here/targets.list")
share=$(awk -v h="$hours" -v n="$targets" 'BEGIN { printf "%d", h * 3600 / n }')
echo "campaign: $targets targets, $share s each, scratch $work"
printf '%-24s %10s %8s %6s %9s\n' target runs runs/s cov findings
while read -r target dict maxlen _; do
  [[ -z $target || $target == \#* ]] && continue
  bin="$build/bin/$target"
  [[ -x $bin ]] || { echo "campaign: $bin is missing" >&2; exit 2; }
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  cp "$here/corpus/$target/"* "$work/$target/corpus/"
  runs=0 cov=0 left=$share pass=0
  while ((left > 0 && runs < 10000000)); do
    pass=$((pass + 1))
    log="$work/$target/log.$pass"
    start=$SECONDS
    "$bin" -runs=$((10000000 - runs)) -max_total_time="$left" -max_len="$maxlen" -timeout=10 \
      -dict="$here/dict/$dict.dict" -print_final_stats=1 -artifact_prefix="$work/$target/artifacts/" \
      "$work/$target/corpus" </dev/null >"$log" 2>&1 || true
    left=$((left - (SECONDS - start)))
    done_runs=$(grep -oE '^stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || true)
    [[ -n $done_runs ]] || done_runs=$(grep -oE '^#[0-9]+' "$log" | tail -n 1 | tr -d '#' || true)
    runs=$((runs + ${done_runs:-0}))
    last_cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | grep -oE '[0-9]+' || true)
    cov=$(( ${last_cov:-0} > cov ? ${last_cov:-0} : cov ))
    # A pass that ended without a finding ran out of time or inputs.
    grep -qE '^Done [0-9]+ runs' "$log" && break
  done
  findings=$(find "$work/$target/artifacts" -type f | wc -l)
  seconds=$((share - left))
  rate=$(awk -v r="$runs" -v s="$seconds" 'BEGIN { printf "%d", (s > 0 ? r / s : r) }')
  printf '%-24s %10s %8s %6s %9s\n' "$target" "$runs" "$rate" "$cov" "$findings"
done <"$here/targets.list"
