#!/usr/bin/env bash
# Times a full radio read and a full write + verify through the real serial engine against
# halyx-radiosim paced at 9600 baud, and compares them with the line-time floor.
# Usage: scripts/benchmark.sh [--reads N] [BUILD_DIR]   (N consecutive reads, default 1)
set -euo pipefail
cd "$(dirname "$0")/.."

reads=1
if [[ "${1:-}" == "--reads" ]]; then
    reads=$2
    shift 2
fi
build_dir=${1:-build}
if [[ ! -x "$build_dir/bin/halyx-cli" || ! -x "$build_dir/bin/halyx-radiosim" ]]; then
    scripts/install-deps.sh
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build_dir" --target halyx-cli halyx-radiosim
fi
cli=$PWD/$build_dir/bin/halyx-cli
sim=$PWD/$build_dir/bin/halyx-radiosim

work=$(mktemp -d)
trap 'kill "$sim_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp data/default.kda "$work/radio.kda"
cd "$work"
"$sim" --image radio.kda --baud 9600 > sim.out &
sim_pid=$!
until [[ -s sim.out ]]; do sleep 0.05; done
port=$(head -n 1 sim.out)

now() { date +%s.%N; }
# 10 bits per byte at 9600 baud. A read moves 817 bytes; a write + verify 1629 bytes plus the
# 2 s pause between the phases.
read_floor=$(echo "817 * 10 / 9600" | bc -l)
write_floor=$(echo "1629 * 10 / 9600 + 2" | bc -l)

failures=0
best=""
total=0
for ((i = 1; i <= reads; i++)); do
    start=$(now)
    if ! "$cli" read --port "$port" -o out.kda 2> err.txt; then
        failures=$((failures + 1))
        cat err.txt >&2
    fi
    took=$(echo "$(now) - $start" | bc -l)
    total=$(echo "$total + $took" | bc -l)
    if [[ -z "$best" ]] || (( $(echo "$took < $best" | bc -l) )); then best=$took; fi
done
mean=$(echo "$total / $reads" | bc -l)

start=$(now)
"$cli" write --port "$port" radio.kda
write_took=$(echo "$(now) - $start" | bc -l)

printf 'read:          %d run(s), %d failed, mean %.3f s, best %.3f s; floor %.3f s; mean/floor %.3f (goal <= 1.15)\n' \
    "$reads" "$failures" "$mean" "$best" "$read_floor" "$(echo "$mean / $read_floor" | bc -l)"
printf 'write+verify:  %.3f s; floor %.3f s (incl. 2 s pause); ratio %.3f (goal <= 1.10)\n' \
    "$write_took" "$write_floor" "$(echo "$write_took / $write_floor" | bc -l)"
[[ $failures -eq 0 ]]
