#!/usr/bin/env bash
# Builds the Debian package halyx_<version>_<arch>.deb with CPack and prints the folder it is in.
# Usage: scripts/package.sh [BUILD_DIR]
#   BUILD_DIR  a build tree to package from (default: build-package, configured without tests).
#              An existing tree is only brought up to date, so CI packages what it has tested.
# Run-time dependencies are computed from the binaries by dpkg-shlibdeps.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-package}

scripts/install-deps.sh --package >&2
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALYX_BUILD_TESTS=OFF >&2
fi
# Only what the package holds; a tree with tests keeps them, but they are not needed here.
cmake --build "$build_dir" --target halyx halyx-cli halyx-radiosim halyx_man_pages halyx_changelog >&2

out_dir=$(realpath "$build_dir")/package
rm -f "$out_dir"/halyx_*.deb
cpack --config "$build_dir/CPackConfig.cmake" -B "$out_dir" >&2
rm -rf "$out_dir/_CPack_Packages"
echo "$out_dir"
