#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Halyx needs to build, test and run, skipping what is there.
# Usage: scripts/install-deps.sh [--gui] [--screenshot] [--fuzz] [--package]
#   --gui          adds what the README's run command needs (CJK fonts)
#   --screenshot   adds the virtual screen and tools for taking screenshots headless
#   --fuzz         adds clang and its libFuzzer and sanitizer runtimes (scripts/fuzz.sh)
#   --package      adds what building and checking the Debian package needs
#   --web          adds what the browser face needs: emscripten (with the acorn its optimiser
#                  loads), Chromium for the browser tests and a CJK font for its screenshots
set -euo pipefail

# libx11-dev: the lock-key panes read the XKB indicators; libxtst-dev and xvfb: the test that
# presses Caps Lock on a virtual X server of its own (it is skipped without them). libssl-dev:
# libcrypto's SHA-256 for the image digests of the audit log. time: /usr/bin/time gives the CPU
# time of scripts/benchmark.sh --fleet. libyaml-cpp-dev: the configuration texts (*.halyx.yaml).
# qt6-translations-l10n: Qt's own texts (standard buttons, file and print dialogs) in Chinese.
# ser2net: the network port tests share simulated radios through it, as a bench machine would.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgtest-dev libgmock-dev
          libcli11-dev nlohmann-json3-dev libyaml-cpp-dev fonts-wqy-microhei
          clang-format bc libx11-dev libxtst-dev xvfb libssl-dev time qt6-translations-l10n ser2net)
for option in "$@"; do
    case "$option" in
        --gui) packages+=(fonts-wqy-microhei qt6-wayland) ;;
        --screenshot) packages+=(xvfb x11-apps imagemagick xauth xdotool fonts-wqy-microhei poppler-utils) ;;
        --fuzz) packages+=(clang libclang-rt-14-dev) ;;
        --package) packages+=(dpkg-dev file lintian desktop-file-utils appstream shared-mime-info) ;;
        --web) packages+=(emscripten node-acorn chromium fonts-wqy-microhei) ;;
        *) echo "unknown option $option" >&2; exit 1 ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
