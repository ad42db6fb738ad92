#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded number of inputs, starting from
# the seed corpus (copied, so the corpus in the repository is never changed). Exits
# non-zero on the first finding, which is left in the scratch folder named below.
#   fuzz/run-fuzzers.sh <fuzz-build-dir> [runs per target]
set -euo pipefail

build=${1:?usage: run-fuzzers.sh <fuzz-build-dir> [runs]}
runs=${2:-20000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kcs-fuzz-run.XXXXXX")

status=0
for target in kcs_fuzz_client_file kcs_fuzz_settings; do
  bin="$build/bin/$target"
  if [[ ! -x $bin ]]; then
    echo "run-fuzzers: $bin is missing (configure with -DKCS_FUZZ=ON and clang, then build)" >&2
    exit 2
  fi
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  cp "$here/corpus/$target/"* "$work/$target/corpus/"
  echo "== $target: $runs runs"
  if ! "$bin" -runs="$runs" -max_total_time=120 -max_len=16384 -timeout=10 \
       -artifact_prefix="$work/$target/artifacts/" "$work/$target/corpus" >"$work/$target/log" 2>&1; then
    tail -n 40 "$work/$target/log" >&2
    echo "run-fuzzers: $target found a failure; inputs in $work/$target/artifacts" >&2
    status=1
    continue
  fi
  grep -E '^#[0-9]+.*DONE|Done [0-9]+ runs' "$work/$target/log" | tail -n 2
done

if [[ $status -eq 0 ]]; then
  rm -rf "$work"
  echo "run-fuzzers: no findings"
fi
exit $status
