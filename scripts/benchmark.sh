#!/usr/bin/env bash
# Times a full radio read and a full write + verify through the real serial engine against
# halyx-radiosim paced at 9600 baud, and compares them with the line-time floor.
# With --fleet N: a fleet write to N radios at once and to one radio, all paced at 9600 baud, and
# the ratio of their wall times (the fleet runs in parallel, so it should cost hardly more than
# one radio) with halyx-cli's CPU time per radio.
# Usage: scripts/benchmark.sh [--reads N | --fleet N] [BUILD_DIR]   (N consecutive reads, default 1)
set -euo pipefail
cd "$(dirname "$0")/.."

reads=1
fleet=0
if [[ "${1:-}" == "--reads" ]]; then
    reads=$2
    shift 2
elif [[ "${1:-}" == "--fleet" ]]; then
    fleet=$2
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
fleet_sim=
trap 'kill "$sim_pid" ${fleet_sim:+"$fleet_sim"} 2>/dev/null || true; rm -rf "$work"' EXIT
cp data/default.kda "$work/radio.kda"
cd "$work"
"$sim" --image radio.kda --baud 9600 > sim.out &
sim_pid=$!
until [[ -s sim.out ]]; do sleep 0.05; done
port=$(head -n 1 sim.out)

now() { date +%s.%N; }

# A fleet write of radio.kda to `count` simulated radios; sets fleet_wall and fleet_cpu (seconds,
# halyx-cli's user + system time).
fleet_write() {
    local count=$1
    : > "fleet$count.out"
    "$sim" --count "$count" --baud 9600 --serial "SIM%d" > "fleet$count.out" &
    fleet_sim=$!
    until [[ $(wc -l < "fleet$count.out") -ge $count ]]; do sleep 0.05; done
    local ports
    ports=$(paste -sd, "fleet$count.out")
    if ! XDG_DATA_HOME=$work/data /usr/bin/time -f "%e %U %S" -o "time$count.txt" \
        "$cli" fleet write radio.kda --ports "$ports" --report "report$count.json" \
        > "table$count.txt" 2> "err$count.txt"; then
        cat "table$count.txt" "err$count.txt" >&2
        kill "$fleet_sim" 2>/dev/null || true
        return 1
    fi
    kill "$fleet_sim" 2>/dev/null || true
    wait "$fleet_sim" 2>/dev/null || true
    read -r fleet_wall user system < "time$count.txt"
    fleet_cpu=$(echo "$user + $system" | bc -l)
}

if ((fleet > 0)); then
    fleet_write 1
    one_wall=$fleet_wall
    one_cpu=$fleet_cpu
    fleet_write "$fleet"
    printf 'fleet write:   1 radio %.2f s (cpu %.3f s); %d radios %.2f s (cpu %.3f s, %.3f s per radio)\n' \
        "$one_wall" "$one_cpu" "$fleet" "$fleet_wall" "$fleet_cpu" \
        "$(echo "$fleet_cpu / $fleet" | bc -l)"
    printf 'fleet ratio:   %d radios / 1 radio wall time %.3f (goal <= 1.10)\n' "$fleet" \
        "$(echo "$fleet_wall / $one_wall" | bc -l)"
    exit 0
fi
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
