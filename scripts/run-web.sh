#!/usr/bin/env bash
# Builds the browser face and serves it on http://localhost:8080/ (a secure context, so the
# browser offers Web Serial). Stop it with Ctrl+C.
# Usage: scripts/run-web.sh [PORT]
set -euo pipefail
cd "$(dirname "$0")/.."
port=${1:-8080}
site=$(scripts/build-web.sh | tail -n 1)
node web/tools/serve.mjs "$site" --port "$port" --host 127.0.0.1 > /dev/null &
server=$!
trap 'kill "$server" 2> /dev/null' EXIT INT TERM
sleep 0.5
echo "Halyx is served on http://localhost:$port/"
wait "$server"
