#!/usr/bin/env bash
# Installs what is missing, builds Halyx and runs every test.
# Usage: scripts/test.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
shift || true

scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir"
# Tests talk to pseudo-terminals and spawn the simulated radio: two at a time fits a 2-core machine.
ctest --test-dir "$build_dir" --output-on-failure --parallel 2 --timeout 300 --no-tests=error
