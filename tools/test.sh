#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs every test, then runs the fuzzers for a bounded
# number of inputs. Exit status 0 only when all of it passed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

tools/deps.sh

build=$root/build-test
# -O1 with line tables only: what the sanitizers need for their reports, at half the
# compile time of -O2 -g on a two-core machine.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKCS_SANITIZE=ON -DKCS_BUILD_BENCH=OFF \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
cmake --build "$build" -j "$jobs"

# Screens run without a display; Qt keeps a few one-time allocations for the life of
# the process, which leak detection would report as leaks.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300

if [[ -x fuzz/run-fuzzers.sh ]]; then
  fuzzbuild=$root/build-fuzz
  cmake -S . -B "$fuzzbuild" -G Ninja -DKCS_FUZZ=ON -DKCS_BUILD_GUI=OFF \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  cmake --build "$fuzzbuild" -j "$jobs"
  fuzz/run-fuzzers.sh "$fuzzbuild"
fi
# The Debian packages, installed and started as a new ordinary user.
tools/package-test.sh "$root/build-pkg"
echo "All tests passed."
