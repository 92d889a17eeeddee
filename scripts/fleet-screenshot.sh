#!/usr/bin/env bash
# Pictures of the fleet write dialog in the middle of a run, in English and Chinese, with the
# shipped language files: docs/screenshots/fleet-dialog-en.png and -zh.png. The dialog runs
# offscreen against in-process radios of different speeds, two of them faulty.
#
# Usage: scripts/fleet-screenshot.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --target halyx_gui_tests
for language in english chinese; do
    suffix=en
    [[ $language == chinese ]] && suffix=zh
    HALYX_FLEET_SCREENSHOT=$PWD/docs/screenshots/fleet-dialog-$suffix.png \
        HALYX_FLEET_LANGUAGE=$language QT_QPA_PLATFORM=offscreen \
        "$build_dir/bin/halyx_gui_tests" --gtest_filter='*PictureOfARun'
done
