#!/bin/sh
# Compares the time from start to a mapped window of halyx with a bare Qt main window, under a
# private Xvfb: the wall time, and the CPU time each had used by then (which other programs'
# load disturbs less). A third program, a window furnished like halyx's first screen without its
# logic, shows how much of the difference Qt itself needs for such a window. Runs alternate
# between the programs, so a change of load touches all alike.
# Usage: scripts/window-start/measure.sh BUILD_DIR [RUNS]
set -eu
build=$(cd "${1:?build directory}" && pwd)
runs=${2:-10}
here=$(cd "$(dirname "$0")" && pwd)
tools=$(mktemp -d)
trap 'rm -rf "$tools"' EXIT
cc -O2 -o "$tools/map_timer" "$here/map_timer.c" -lX11
for yardstick in bare_window furnished_window; do
    c++ -O2 -fPIC -std=c++20 -o "$tools/$yardstick" "$here/$yardstick.cpp" \
        $(pkg-config --cflags --libs Qt6Widgets)
done
# halyx starts in English on a port that opens (a pseudo-terminal named in the setting file), so
# that no message box comes up first.
mkdir -p "$tools/home"
cp "$build/bin/english.lang" "$build/bin/chinese.lang" "$tools/home/"
head -c 2048 /dev/zero > "$tools/default.kda"
cat > "$tools/run.sh" <<INNER
#!/bin/sh
cd "$tools"
python3 -c 'import os, pty, sys, time
master, slave = pty.openpty()
print(os.ttyname(slave), flush=True)
time.sleep(3600)' > "$tools/pty" &
keeper=\$!
sleep 0.5
printf "[setup]\\nlanguage=english\\n[port]\\ncom=1\\n[devices]\\nCOM1=%s\\n" "\$(cat "$tools/pty")" > "$tools/home/setting.ini"
export HALYX_HOME="$tools/home"
for command in "$tools/bare_window" "$tools/furnished_window" "$build/bin/halyx"; do
    "$tools/map_timer" "\$command" >/dev/null   # warm the file cache
done
i=0
while [ \$i -lt $runs ]; do
    echo "bare_window \$("$tools/map_timer" "$tools/bare_window")"
    echo "furnished_window \$("$tools/map_timer" "$tools/furnished_window")"
    echo "halyx \$("$tools/map_timer" "$build/bin/halyx")"
    i=\$((i + 1))
done
kill \$keeper
INNER
chmod +x "$tools/run.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$tools/run.sh" 2>/dev/null | python3 -c '
import statistics, sys
walls, cpus = {}, {}
for line in sys.stdin:
    name, wall, cpu = line.split()
    walls.setdefault(name, []).append(float(wall))
    cpus.setdefault(name, []).append(float(cpu))
medians = {}
for name in walls:
    medians[name] = (statistics.median(walls[name]), statistics.median(cpus[name]))
    shown = " ".join(map(str, walls[name]))
    print(f"{name:16} median {medians[name][0]:7.1f} ms wall, {medians[name][1]:7.1f} ms CPU "
          f"over {len(walls[name])} runs (wall: {shown})")
def ratio(name, label):
    if name in medians and "bare_window" in medians:
        print("%-16s %.2f wall, %.2f CPU" % (label, medians[name][0] / medians["bare_window"][0],
                                             medians[name][1] / medians["bare_window"][1]))
ratio("halyx", "ratio")
ratio("furnished_window", "furnished ratio")
'
