#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build (fuzz/targets.list) for a bounded number of
# inputs, each at most 20 seconds, starting from the seed corpus (copied, so the corpus
# in the repository is never changed) with the format's dictionary. Exits non-zero on a
# finding, which is left in the scratch folder named below.
#   fuzz/run-fuzzers.sh <fuzz-build-dir> [runs per target, default from targets.list]
set -euo pipefail

build=${1:?usage: run-fuzzers.sh <fuzz-build-dir> [runs]}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kcs-fuzz-run.XXXXXX")

status=0
while read -r target dict maxlen runs; do
  [[ -z $target || $target == \#* ]] && continue
  runs=${2:-$runs}
  bin="$build/bin/$target"
  if [[ ! -x $bin ]]; then
    echo "run-fuzzers: $bin is missing (configure with -DKCS_FUZZ=ON and clang, then build)" >&2
    exit 2
  fi
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  cp "$here/corpus/$target/"* "$work/$target/corpus/"
  echo "== $target: $runs runs"
  if "$bin" -runs="$runs" -max_total_time=20 -max_len="$maxlen" -timeout=10 -dict="$here/dict/$dict.dict" \
       -artifact_prefix="$work/$target/artifacts/" "$work/$target/corpus" >"$work/$target/log" 2>&1; then
    grep -E '^#[0-9]+.*DONE|Done [0-9]+ runs' "$work/$target/log" | tail -n 2
  else
    tail -n 40 "$work/$target/log" >&2
    echo "run-fuzzers: $target found a failure; inputs in $work/$target/artifacts" >&2
    status=1
  fi
done <"$here/targets.list"

if [[ $status -eq 0 ]]; then
  rm -rf "$work"
  echo "run-fuzzers: no findings"
fi
exit $status
