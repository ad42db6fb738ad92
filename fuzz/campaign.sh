#!/usr/bin/env bash
# A long fuzzing campaign: run-fuzzers.sh with the HOURS split evenly among the targets of
# fuzz/targets.list (each also stops at 10 million inputs), one process at a time. A target
# that finds a failure is started again on its grown corpus until its time is used; the
# findings and corpora stay in the scratch folder printed.
#   fuzz/campaign.sh HOURS [fuzz-build-dir, default build-fuzz]
set -euo pipefail

hours=${1:?usage: campaign.sh HOURS [fuzz-build-dir]}
here=$(cd "$(dirname "$0")" && pwd)
targets=$(grep -cvE '^(#|$)' "$here/targets.list")
KCS_FUZZ_SECONDS=$(awk -v h="$hours" -v n="$targets" 'BEGIN { printf "%d", h * 3600 / n }')
echo "campaign: $targets targets, $KCS_FUZZ_SECONDS s each"
KCS_FUZZ_SECONDS=$KCS_FUZZ_SECONDS exec "$here/run-fuzzers.sh" "${2:-$here/../build-fuzz}"
