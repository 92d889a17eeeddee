#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed time from the seed corpus in
# fuzz/corpus/. Fails on the first crash, leak, sanitizer report or failed check; the input that
# caused it is left in BUILD_DIR/fuzz-artifacts/.
# Usage: scripts/fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-fuzz}
seconds=${2:-20}

scripts/install-deps.sh --fuzz
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DHALYX_FUZZ=ON -DHALYX_BUILD_TESTS=OFF
cmake --build "$build_dir" --target fuzzers

artifacts="$PWD/$build_dir/fuzz-artifacts"
mkdir -p "$artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The file targets write and sync a file per input; on a memory-backed folder that costs little.
if [[ -z ${TMPDIR:-} && -w /dev/shm ]]; then
    export TMPDIR=/dev/shm
fi
for corpus in fuzz/corpus/*/; do
    target=$(basename "$corpus")
    # New inputs go to a scratch folder; the seeds in the repository are only read.
    scratch="$PWD/$build_dir/fuzz-corpus/$target"
    mkdir -p "$scratch"
    echo "== $target ($seconds s)"
    "$build_dir/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$scratch" "$corpus" \
        2> "$build_dir/$target.log" || {
        tail -n 60 "$build_dir/$target.log" >&2
        echo "fuzzing $target failed; the input is in $artifacts" >&2
        exit 1
    }
    grep -E '^stat::number_of_executed_units' "$build_dir/$target.log" || true
done
