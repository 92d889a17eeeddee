#!/usr/bin/env bash
# Times a full radio read and a full write + verify through the real serial engine against
# halyx-radiosim paced at 9600 baud, and compares them with the line-time floor.
# With --fleet N: a fleet write to N radios at once and to one radio, all paced at 9600 baud, and
# the ratio of their wall times (the fleet runs in parallel, so it should cost hardly more than
# one radio) with halyx-cli's CPU time per radio and per byte it received.
# With --soak N: N radios in fleet writes of 64 at a time, unpaced, counting any radio whose port
# was reported gone (the simulator never goes away here, so every such report is false).
# With --network: the read and the write + verify go over rfc2217:// through ser2net in front of
# the paced simulator (the radios on another machine, here on 127.0.0.1), then a fleet write to
# 8 radios and to one radio, each behind its own ser2net line.
# Backups and audit lines go to a data folder of the run's own, never the user's.
# Usage: scripts/benchmark.sh [--reads N | --fleet N | --soak N | --network] [BUILD_DIR]
#        (N consecutive reads, default 1)
set -euo pipefail
cd "$(dirname "$0")/.."

reads=1
fleet=0
soak=0
network=0
if [[ "${1:-}" == "--network" ]]; then
    network=1
    shift
elif [[ "${1:-}" == "--reads" ]]; then
    reads=$2
    shift 2
elif [[ "${1:-}" == "--fleet" ]]; then
    fleet=$2
    shift 2
elif [[ "${1:-}" == "--soak" ]]; then
    soak=$2
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
# ser2net is started inside command substitutions: its ids are kept in a file, not a variable.
trap 'kill "$sim_pid" ${fleet_sim:+"$fleet_sim"} $(cat "$work/ser2net.pids" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT
cp data/default.kda "$work/radio.kda"
cd "$work"
# Every run keeps backups and audit lines; these belong to the benchmark, not to the user.
export XDG_DATA_HOME=$work/data
"$sim" --image radio.kda --baud 9600 > sim.out &
sim_pid=$!
until [[ -s sim.out ]]; do sleep 0.05; done
port=$(head -n 1 sim.out)

now() { date +%s.%N; }

# A TCP port of 127.0.0.1 nothing listens on.
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# ser2net's options for the lines it shares. By default it holds received bytes back for a
# moment to send them in fewer packets, which costs every answer that long; the README's
# configuration turns that off, and so does the benchmark (one read shows the default too).
line_options='  options:\n    chardelay: false\n'

# Starts ser2net sharing the terminals given, each as rfc2217://127.0.0.1:PORT; prints the
# addresses comma-separated.
share_over_network() {
    local config=ser2net-$$-$RANDOM.yaml addresses=() n=0 p
    : > "$config"
    for device in "$@"; do
        p=$(free_port)
        n=$((n + 1))
        printf 'connection: &line%d\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%d\n  connector: serialdev,%s,9600n81,local\n'"$line_options" \
            "$n" "$p" "$device" >> "$config"
        addresses+=("rfc2217://127.0.0.1:$p")
    done
    ser2net -n -d -u -c "$config" < /dev/null > "$config.log" 2>&1 &
    echo $! >> "$work/ser2net.pids"
    for address in "${addresses[@]}"; do
        until (exec 3<>"/dev/tcp/127.0.0.1/${address##*:}") 2>/dev/null; do sleep 0.05; done
    done
    local IFS=,
    echo "${addresses[*]}"
}

# Bytes the client received, from the "Radio->PC" lines of the traffic logs given.
received_bytes() {
    cat "$@" | tr -d '\r' | awk '/^Radio->PC:/ { total += NF - 1 } END { print total + 0 }'
}

# A fleet write of radio.kda to `count` simulated radios; sets fleet_wall and fleet_cpu (seconds,
# halyx-cli's user + system time) and fleet_bytes (bytes received). Extra simulator options follow.
fleet_write() {
    local count=$1
    shift
    rm -f comm*.log
    : > "fleet$count.out"
    # The radios are of the image's band, or the fleet refuses to write them.
    local band=low
    [[ $(od -An -tu1 -j22 -N1 radio.kda | tr -d ' ') == 1 ]] && band=high
    "$sim" --count "$count" --baud 9600 --band "$band" --serial "SIM%d" "$@" > "fleet$count.out" &
    fleet_sim=$!
    until [[ $(wc -l < "fleet$count.out") -ge $count ]]; do sleep 0.05; done
    local ports
    ports=$(paste -sd, "fleet$count.out")
    if ((network)); then
        ports=$(share_over_network $(cat "fleet$count.out"))
    fi
    local status=0
    /usr/bin/time -f "%e %U %S" -o "time$count.txt" \
        "$cli" fleet write radio.kda --ports "$ports" --report "report$count.json" \
        --log comm.log > "table$count.txt" 2> "err$count.txt" || status=$?
    kill "$fleet_sim" 2>/dev/null || true
    wait "$fleet_sim" 2>/dev/null || true
    if ((status != 0)) && [[ $soak -eq 0 ]]; then
        cat "table$count.txt" "err$count.txt" >&2
        return 1
    fi
    read -r fleet_wall user system < <(tail -n 1 "time$count.txt")
    fleet_cpu=$(echo "$user + $system" | bc -l)
    fleet_bytes=$(received_bytes comm-*.log)
}

if ((soak > 0)); then
    runs=$(((soak + 63) / 64))
    radios=0
    gone=0
    failed=0
    for ((run = 1; run <= runs; run++)); do
        count=$((soak - radios < 64 ? soak - radios : 64))
        fleet_write "$count" --no-pacing
        radios=$((radios + count))
        gone=$((gone + $(cat "table$count.txt" "err$count.txt" | grep -c "went away" || true)))
        # A missing report counts every radio of its run as failed.
        succeeded=$(grep -o '"result": *"success"' "report$count.json" 2>/dev/null | wc -l)
        failed=$((failed + count - succeeded))
    done
    printf 'soak:          %d radios in %d fleet writes; %d reported the port gone, %d did not succeed (goal 0)\n' \
        "$radios" "$runs" "$gone" "$failed"
    [[ $gone -eq 0 && $failed -eq 0 ]]
    exit
fi

if ((network)); then
    if ! command -v ser2net > /dev/null; then
        echo "ser2net is not installed (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
    pty=$port
    line_options=
    port=$(share_over_network "$pty")
    start=$(now)
    "$cli" read --port "$port" -o out.kda
    default_took=$(echo "$(now) - $start" | bc -l)
    line_options='  options:\n    chardelay: false\n'
    port=$(share_over_network "$pty")
    fleet=8
fi
if ((fleet > 0)) && ((network == 0)); then
    fleet_write 1
    one_wall=$fleet_wall
    one_cpu=$fleet_cpu
    one_bytes=$fleet_bytes
    fleet_write "$fleet"
    printf 'fleet write:   1 radio %.2f s (cpu %.3f s); %d radios %.2f s (cpu %.3f s, %.3f s per radio)\n' \
        "$one_wall" "$one_cpu" "$fleet" "$fleet_wall" "$fleet_cpu" \
        "$(echo "$fleet_cpu / $fleet" | bc -l)"
    printf 'fleet ratio:   %d radios / 1 radio wall time %.3f (goal <= 1.10)\n' "$fleet" \
        "$(echo "$fleet_wall / $one_wall" | bc -l)"
    printf 'client cpu:    %.2f us per received byte over %d radios, %d bytes, start-up included (goal <= 10)\n' \
        "$(echo "$fleet_cpu * 1000000 / $fleet_bytes" | bc -l)" "$fleet" "$fleet_bytes"
    # What each further byte costs: the one-radio run's CPU (start-up, one radio) taken away.
    printf 'client cpu:    %.2f us per received byte beyond the first radio (start-up excluded)\n' \
        "$(echo "($fleet_cpu - $one_cpu) * 1000000 / ($fleet_bytes - $one_bytes)" | bc -l)"
    printf 'load average:  %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
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
if ((network)); then
    printf 'over:          %s (ser2net in front of the paced simulator, chardelay: false)\n' "$port"
    printf 'read, ser2net defaults (chardelay on): %.3f s; ratio %.3f\n' "$default_took" \
        "$(echo "$default_took / $read_floor" | bc -l)"
    fleet_write 1
    one_wall=$fleet_wall
    fleet_write "$fleet"
    printf 'network fleet: 1 radio %.2f s; %d radios %.2f s; ratio %.3f (goal <= 1.10)\n' \
        "$one_wall" "$fleet" "$fleet_wall" "$(echo "$fleet_wall / $one_wall" | bc -l)"
    printf 'load average:  %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
fi
[[ $failures -eq 0 ]]
