#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on the practice data disk
# that the build lays out beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/deps.sh

build=$root/build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKCS_BUILD_TESTS=OFF -DKCS_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)"

# The spoken questions are generated once, on this machine, with espeak-ng, into the
# sound folder the bundled settings name (SndPath=., the program's own folder): on a
# computer with sound the test on screen then reads every statement and choice aloud.
if [[ -x tools/voices/make-voices.sh ]]; then
  tools/voices/make-voices.sh "$build/bin" "$build/bin"
fi
exec "$build/bin/kcs"
