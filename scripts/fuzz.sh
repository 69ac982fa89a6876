#!/bin/sh
# Runs each fuzz target for SECONDS from its seed corpus, with its dictionary. New inputs go to a working
# corpus in the build folder (the repository's seeds are never changed). A crash, a sanitizer report, a
# broken invariant, a leak or an input that runs past the time limit fails the run; the input is kept as
# BUILD_DIR/fuzz/artifacts/<target>-crash-... Usage: scripts/fuzz.sh BUILD_DIR SECONDS [TARGET...]
set -e
cd "$(dirname "$0")/.."
BUILD_DIR="$1"
SECONDS_EACH="$2"
shift 2
TARGETS="${*:-$(cd fuzz && ls *.dict | sed 's/\.dict$//')}"
# One input may take this long (seconds) before it counts as a hang.
INPUT_TIMEOUT=25

# The targets' scratch files (a settings file per input, the endpoint's socket) go to memory when the
# machine has it: on a disk busy with builds each input would wait for the file system.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$BUILD_DIR/fuzz/artifacts"
for target in $TARGETS; do
    work="$BUILD_DIR/fuzz/corpus-$target"
    mkdir -p "$work"
    echo "fuzz_$target: $SECONDS_EACH s"
    "$BUILD_DIR/fuzz/fuzz_$target" -max_total_time="$SECONDS_EACH" -timeout="$INPUT_TIMEOUT" \
        -dict="fuzz/$target.dict" -artifact_prefix="$BUILD_DIR/fuzz/artifacts/$target-" -print_final_stats=1 \
        "$work" "fuzz/corpus/$target" >"$BUILD_DIR/fuzz/$target.log" 2>&1 || {
        tail -n 60 "$BUILD_DIR/fuzz/$target.log"
        echo "fuzz_$target: FINDING (log: $BUILD_DIR/fuzz/$target.log)"
        exit 1
    }
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$BUILD_DIR/fuzz/$target.log" | tail -n 2
done
