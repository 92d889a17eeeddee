#!/bin/sh
# Compares the time from start to a mapped window of halyx with a bare Qt main window, under a
# private Xvfb. Usage: scripts/window-start/measure.sh BUILD_DIR [RUNS]
set -eu
build=$(cd "${1:?build directory}" && pwd)
runs=${2:-10}
here=$(cd "$(dirname "$0")" && pwd)
tools=$(mktemp -d)
trap 'rm -rf "$tools"' EXIT
cc -O2 -o "$tools/map_timer" "$here/map_timer.c" -lX11
c++ -O2 -fPIC -std=c++20 -o "$tools/bare_window" "$here/bare_window.cpp" \
    $(pkg-config --cflags --libs Qt6Widgets)
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
for program in bare_window halyx; do
    command="$tools/bare_window"
    [ "\$program" = halyx ] && command="$build/bin/halyx"
    "$tools/map_timer" "\$command" >/dev/null   # warm the file cache
    times=""
    i=0
    while [ \$i -lt $runs ]; do
        times="\$times \$("$tools/map_timer" "\$command")"
        i=\$((i + 1))
    done
    echo "\$program:\$times"
done
kill \$keeper
INNER
chmod +x "$tools/run.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$tools/run.sh" 2>/dev/null | python3 -c '
import statistics, sys
medians = {}
for line in sys.stdin:
    name, _, values = line.partition(":")
    times = [float(v) for v in values.split()]
    medians[name] = statistics.median(times)
    print(f"{name:12} median {medians[name]:7.1f} ms over {len(times)} runs ({values.strip()})")
if medians.get("bare_window"):
    print("ratio        %.2f" % (medians["halyx"] / medians["bare_window"]))
'
