#!/usr/bin/env bash
# Builds (when needed) and starts halyx against halyx-radiosim on a pseudo-terminal, in a
# throw-away program directory whose setting.ini maps COM1 to the simulator, so that Program >
# Read and Write work at once. The simulator starts from a copy of data/default.kda.
#
# Usage: scripts/run-gui.sh [--chinese] [--fleet N] [--screenshot FILE.png] [BUILD_DIR]
#                           [-- SIMULATOR OPTIONS]
#   --chinese          start in Simplified Chinese (default: English)
#   --fleet N          simulate N radios (serial numbers SIM1..SIMN) mapped to COM1..COMN
#                      (simulator options such as --for 2 --silent then pick faults per radio)
#   --screenshot FILE  run headless under Xvfb, save a picture of the main window, then quit
#   --click X,Y        with --screenshot: click there (window coordinates) first
#   --type TEXT        with --screenshot: then type TEXT
#   --keys KEYS        with --screenshot: then press KEYS (xdotool key names, e.g. "shift+Down")
#   BUILD_DIR          default: build
# Simulator options (e.g. --silent, --bad-checksum=1:3) are passed to halyx-radiosim.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

language=english
screenshot=""
click=""
type_text=""
keys=""
fleet=1
build_dir=build
sim_options=()
while [[ $# -gt 0 ]]; do
    case "$1" in
        --chinese) language=chinese ;;
        --fleet) fleet=$2; shift ;;
        --screenshot) screenshot=$(realpath -m "$2"); shift ;;
        --click) click=$2; shift ;;
        --type) type_text=$2; shift ;;
        --keys) keys=$2; shift ;;
        --) shift; sim_options=("$@"); break ;;
        *) build_dir=$1 ;;
    esac
    shift
done

halyx=$source_dir/$build_dir/bin/halyx
sim=$source_dir/$build_dir/bin/halyx-radiosim
if [[ ! -x "$halyx" || ! -x "$sim" ]]; then
    scripts/install-deps.sh --gui
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build_dir" --target halyx halyx-radiosim
fi

if [[ -n "$screenshot" ]]; then
    scripts/install-deps.sh --gui --screenshot
fi

work=$(mktemp -d)
sim_pid=""
halyx_pid=""
cleanup() {
    [[ -n "$halyx_pid" ]] && kill "$halyx_pid" 2>/dev/null || true
    [[ -n "$sim_pid" ]] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

home=$work/home
mkdir -p "$home" "$work/run"
cp data/english.lang data/chinese.lang "$home/"
cp data/default.kda "$work/run/default.kda"
cp data/default.kda "$work/radio.kda"

if [[ ! "$fleet" =~ ^[1-9][0-9]*$ ]]; then
    echo "--fleet needs a number of radios" >&2
    exit 1
fi
fleet_options=()
if [[ $fleet -gt 1 ]]; then
    fleet_options=(--count "$fleet" --serial 'SIM%d')
fi
"$sim" --image "$work/radio.kda" "${fleet_options[@]}" "${sim_options[@]}" > "$work/sim.out" &
sim_pid=$!
until [[ $(wc -l < "$work/sim.out") -ge $fleet ]]; do
    kill -0 "$sim_pid" 2>/dev/null || { echo "halyx-radiosim did not start" >&2; exit 1; }
    sleep 0.05
done
{
    printf '[setup]\r\nlanguage=%s\r\n[port]\r\ncom=1\r\n[devices]\r\n' "$language"
    n=0
    while read -r pty; do
        n=$((n + 1))
        printf 'COM%d=%s\r\n' "$n" "$pty"
        echo "Simulated radio on $pty (COM$n)" >&2
    done < "$work/sim.out"
} > "$home/setting.ini"
echo "Program directory $home" >&2

cd "$work/run"
export HALYX_HOME=$home
# Backups and the audit log of this throw-away session stay in it.
export XDG_DATA_HOME=$work/data
if [[ -z "$screenshot" ]]; then
    "$halyx"
    exit 0
fi

# Headless: start under a virtual screen, wait for the window, photograph it, quit.
cat > "$work/shoot.sh" <<SHOOT
#!/usr/bin/env bash
set -euo pipefail
"$halyx" &
pid=\$!
sleep 3
if [[ -n "$click" ]]; then
    window=\$(xdotool search --sync --onlyvisible --pid "\$pid" | head -n 1)
    xdotool mousemove --window "\$window" ${click/,/ } click 1
    sleep 3
fi
if [[ -n "$type_text" ]]; then
    xdotool type --delay 50 "$type_text"
    sleep 0.5
fi
if [[ -n "$keys" ]]; then
    xdotool key --delay 200 $keys
    sleep 3  # a menu that has just opened needs a moment to paint
fi
# import, unlike xwd, also catches popup menus (xwd leaves them black).
import -window root png:- | /usr/bin/convert png:- -trim +repage "$screenshot"
kill "\$pid"
SHOOT
chmod +x "$work/shoot.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/shoot.sh"
echo "Saved $screenshot" >&2
