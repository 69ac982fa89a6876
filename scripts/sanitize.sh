#!/bin/sh
# Builds the whole suite a second time with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test in it. Any report ends the test that made it, and so fails the run. Usage: scripts/sanitize.sh [DIR]
set -e
cd "$(dirname "$0")/.."
BUILD_DIR="${1:-build-sanitize}"
JOBS="${JOBS:-$(nproc)}"
FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

# The test binaries run already while building (test discovery), so the options hold for the build too.
export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp"

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKYREL_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$FLAGS" -DCMAKE_EXE_LINKER_FLAGS="$FLAGS" >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS"
# A failed test runs once more: LeakSanitizer's own tracer can crash while it stops a process whose threads
# are ending (the process then exits 1 with "Tracer caught signal 11"), which says nothing of the code. A
# fault the sanitizers find is found again in the second run.
cd "$BUILD_DIR" && ctest --output-on-failure -j "$JOBS" --repeat until-pass:2
