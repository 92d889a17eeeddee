#!/usr/bin/env bash
# The browser face's budgets: compressed site size, first load to an interactive grid, a read
# through the bridge against the paced simulator, and the page's memory after it.
# Usage: scripts/benchmark-web.sh [DESKTOP_BUILD_DIR]   (for halyx-radiosim; default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --target halyx-radiosim > /dev/null
site=$(scripts/build-web.sh | tail -n 1)
node web/tools/benchmark.mjs "$site" "$build_dir/bin/halyx-radiosim"
