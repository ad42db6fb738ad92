#!/usr/bin/env bash
# fuzz/run-fuzzers.sh <fuzz-build-dir> [runs per target, default from targets.list]
# Runs each target of fuzz/targets.list from a copy of its seed corpus (the repository's never
# changes) with its format's dictionary, and prints its inputs, inputs per second, coverage
# and findings. The test command's bounded run: each target at most 20 seconds, a non-zero
# exit on a finding (left in the scratch folder named). fuzz/campaign.sh runs it for longer
# (KCS_FUZZ_SECONDS each, at most 10 million inputs, a target started again after a finding).
set -euo pipefail

build=${1:?usage: run-fuzzers.sh <fuzz-build-dir> [runs]}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kcs-fuzz.XXXXXX")
campaign=${KCS_FUZZ_SECONDS:+yes}
share=${KCS_FUZZ_SECONDS:-20}

status=0
printf '%-24s %10s %8s %6s %9s\n' target runs runs/s cov findings
while read -r target dict maxlen runs; do
  [[ -z $target || $target == \#* ]] && continue
  bin="$build/bin/$target"
  [[ -x $bin ]] || { echo "run-fuzzers: $bin is missing (configure with -DKCS_FUZZ=ON and clang, then build)" >&2; exit 2; }
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  cp "$here/corpus/$target/"* "$work/$target/corpus/"
  if [[ -n $campaign ]]; then runs=10000000; else runs=${2:-$runs}; fi
  ran=0 left=$share log="$work/$target/log"
  while ((left > 0 && ran < runs)); do
    start=$SECONDS
    "$bin" -runs=$((runs - ran)) -max_total_time="$left" -max_len="$maxlen" -timeout=10 \
      -dict="$here/dict/$dict.dict" -print_final_stats=1 -artifact_prefix="$work/$target/artifacts/" \
      "$work/$target/corpus" </dev/null >>"$log" 2>&1 || true
    left=$((left - (SECONDS - start)))
    ran=$(grep -oE '^stat::number_of_executed_units: [0-9]+' "$log" | awk '{ s += $2 } END { print s + 0 }' || true)
    cov=$(grep -oE 'cov: [0-9]+' "$log" | awk '$2 > m { m = $2 } END { print m + 0 }' || true)
    # A pass that ended without a finding ran out of time or inputs.
    grep -qE '^Done [0-9]+ runs' "$log" && break
    [[ -n $campaign ]] && continue
    tail -n 40 "$log" >&2
    echo "run-fuzzers: $target found a failure; inputs in $work/$target/artifacts" >&2
    status=1
    break
  done
  findings=$(find "$work/$target/artifacts" -type f | wc -l)
  rate=$(awk -v r="$ran" -v s="$((share - left))" 'BEGIN { printf "%d", (s > 0 ? r / s : r) }')
  printf '%-24s %10s %8s %6s %9s\n' "$target" "$ran" "$rate" "$cov" "$findings"
done <"$here/targets.list"

if [[ $status -eq 0 && -z $campaign ]]; then
  rm -rf "$work"
  echo "run-fuzzers: no findings"
else
  echo "run-fuzzers: findings and grown corpora in $work"
fi
exit $status
