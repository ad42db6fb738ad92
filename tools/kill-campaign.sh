#!/usr/bin/env bash
# Kills the program's writes of the client file at random moments, N times for each kind
# of write (a stored client rewritten, a new client's answer sheet saved, every name
# deleted record by record), and prints the trials and damaged records per kind.
#
#   tools/kill-campaign.sh N [BUILD-FOLDER]     # default folder: build-kill (made here)
set -euo pipefail
cd "$(dirname "$0")/.."
[[ $# -ge 1 && $1 =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 TRIALS-PER-KIND [BUILD-FOLDER]" >&2; exit 2; }
trials=$1
build=${2:-$PWD/build-kill}

if [[ ! -f $build/CMakeCache.txt ]]; then
  tools/deps.sh
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKCS_BUILD_BENCH=OFF
fi
cmake --build "$build" --target kcs_records_tests -j "$(nproc)" >/dev/null

start=$(date +%s)
set +e
KCS_KILL_TRIALS=$trials "$build/bin/kcs_records_tests" --gtest_filter='SaveDurability/KilledWrites.*' >"$build/kill-campaign.log" 2>&1
status=$?
set -e
seconds=$(($(date +%s) - start))

printf '%-12s %10s %8s\n' kind trials damaged
sed -n 's/^\([A-Za-z]*\): \([0-9]*\) trials, \([0-9]*\) damaged.*/\1 \2 \3/p' "$build/kill-campaign.log" |
  while read -r kind n bad; do printf '%-12s %10s %8s\n' "$kind" "$n" "$bad"; done
echo "time: ${seconds} s; details in $build/kill-campaign.log"
[[ $status -eq 0 ]] || { echo "FAILED (see the log)" >&2; exit 1; }
