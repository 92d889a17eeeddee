#!/usr/bin/env bash
# Installs what is missing, builds Halyx and runs every test, then says how long the build and
# the tests took.
# Usage: scripts/test.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
shift || true

scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
build_start=$SECONDS
cmake --build "$build_dir"
build_seconds=$((SECONDS - build_start))
test_start=$SECONDS
# Tests talk to pseudo-terminals and spawn the simulated radio: two at a time fits a 2-core machine.
# The times are printed whether the tests pass or not.
status=0
ctest --test-dir "$build_dir" --output-on-failure --parallel 2 --timeout 300 --no-tests=error ||
    status=$?
test_seconds=$((SECONDS - test_start))
echo "build: ${build_seconds} s, tests: ${test_seconds} s"
exit "$status"
