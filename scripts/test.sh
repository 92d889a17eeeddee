#!/usr/bin/env bash
# Installs what is missing, builds Halyx and runs every test (the browser page's too, unless
# HALYX_WEB_TESTS=0), then says how long the build and the tests took.
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

# The browser face: the same core in WebAssembly, its page driven in headless Chromium against the
# simulator and the command line just built.
web_report=""
if [[ "${HALYX_WEB_TESTS:-1}" == 1 ]]; then
    web_start=$SECONDS
    bin_dir="$(cd "$build_dir" && pwd)/bin"
    if scripts/build-web.sh > /dev/null; then
        (cd web && HALYX_BIN="$bin_dir" npm test) || status=$?
    else
        status=1
    fi
    web_report=", browser tests: $((SECONDS - web_start)) s"
fi
echo "build: ${build_seconds} s, tests: ${test_seconds} s${web_report}"
exit "$status"
