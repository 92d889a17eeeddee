#!/usr/bin/env bash
# Builds Halyx for the browser: the plain C++ core compiled to WebAssembly, the page compiled from
# TypeScript, the language files (Chinese converted from GBK to UTF-8), the default image, the
# manifest and the service worker, all as static files. Installs what is missing first.
# Usage: scripts/build-web.sh [OUT_DIR]      (default build-web/site; printed on the last line)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
out_dir=$(realpath -m "${1:-build-web/site}")
work_dir=$repo/build-web

scripts/install-deps.sh --web >&2
if ! command -v node > /dev/null || ! command -v npm > /dev/null; then
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq nodejs npm >&2
fi
if [[ ! -d web/node_modules || web/package-lock.json -nt web/node_modules/.package-lock.json ]]; then
    (cd web && npm ci --no-audit --no-fund) >&2
fi

# Debian's emscripten runs its JavaScript optimiser with the system's acorn.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S web -B "$work_dir/wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$work_dir/wasm" >&2

rm -rf "$out_dir"
mkdir -p "$out_dir/core" "$out_dir/lang" "$out_dir/app"
(cd web && npx tsc -p tsconfig.json --outDir "$out_dir/app") >&2
cp "$work_dir/wasm/halyx_core.mjs" "$work_dir/wasm/halyx_core.wasm" "$out_dir/core/"
cp web/static/* "$out_dir/"
cp data/default.kda "$out_dir/"
cp data/desktop/io.github.halyx.Halyx.svg "$out_dir/icon.svg"
cp data/english.lang "$out_dir/lang/english.lang"
iconv -f GBK -t UTF-8 data/chinese.lang > "$out_dir/lang/chinese.lang"

# Every module of the page is asked for at once rather than as each import is discovered.
preloads=$(cd "$out_dir" && for f in app/*.js; do printf '<link rel="modulepreload" href="%s">\\n' "$f"; done)
sed -i "s|@MODULE_PRELOADS@|${preloads%\\n}|" "$out_dir/index.html"

# The service worker caches every file under a name that changes with the site's content, so a
# new version replaces the old one on the next load.
(cd "$out_dir" && find . -type f ! -name sw.js ! -name files.json | sed 's|^\./||' | sort) > "$work_dir/files.txt"
version=$(cd "$out_dir" && xargs sha256sum < "$work_dir/files.txt" | sha256sum | cut -c1-16)
node -e '
const fs = require("fs");
const files = fs.readFileSync(process.argv[1], "utf8").split("\n").filter(Boolean);
fs.writeFileSync(process.argv[2], JSON.stringify({ version: process.argv[3], files: ["./", ...files] }));
' "$work_dir/files.txt" "$out_dir/files.json" "$version"
sed -i "s/@SITE_VERSION@/$version/" "$out_dir/sw.js"
echo "$out_dir"
