#!/usr/bin/env bash
# What the program's window costs next to a bare Qt window of the same size with 20 push buttons, at the screen
# scales 1, 1.5 and 2 under Xvfb 1920x1080:
#  - start: from exec to the window being mapped (median of RUNS starts each, the two programs alternating);
#  - memory: resident set 2 s after the window was mapped (median);
#  - preview: the program with the lighting panel on and the emulator's Wave effect animating the map: CPU as a
#    share of one core and how often the main thread went to sleep and woke again, over SECONDS;
#  - hidden: the same with the window hidden in the tray (needs trayer), where nothing may tick.
#   bench/window_cost/window_cost.sh            (after `cmake --build build --target ombrel skin window_cost_bare`)
#   RUNS=5 SECONDS_PREVIEW=20 SCALES="1 1.5 2" DISPLAY_NUMBER=41 bench/window_cost/window_cost.sh
# Needs Xvfb, xev (x11-utils) and dbus-daemon; trayer for the hidden case.
# Both programs run on a session bus of their own, as on a desktop: without one, the first D-Bus call of a Qt
# program (the tray's, the accessibility bridge's) starts dbus-launch, a cost no desktop user pays.
set -uo pipefail
cd "$(dirname "$0")/../.."
build=${BUILD_DIR:-build}
ombrel=$PWD/$build/bin/ombrel
bare=$PWD/$build/bin/window_cost_bare
runs=${RUNS:-5}
seconds=${SECONDS_PREVIEW:-20}
scales=${SCALES:-1 1.5 2}
for tool in Xvfb xev awk dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "window_cost: $tool is not installed" >&2; exit 127; }
done
for program in "$ombrel" "$bare"; do
    [[ -x $program ]] || { echo "window_cost: $program is missing; build it first" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# DISPLAY_NUMBER picks the display where the machine is shared; otherwise Xvfb takes a free one.
if [[ -n ${DISPLAY_NUMBER:-} ]]; then
    echo "$DISPLAY_NUMBER" >"$work/display.wanted"
    Xvfb ":$DISPLAY_NUMBER" -screen 0 1920x1080x24 -nolisten tcp 2>"$work/xvfb.log" &
    pids+=($!)
    for _ in $(seq 200); do [[ -S /tmp/.X11-unix/X$DISPLAY_NUMBER ]] && break; sleep 0.05; done
    [[ -S /tmp/.X11-unix/X$DISPLAY_NUMBER ]] && mv "$work/display.wanted" "$work/display"
else
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    pids+=($!)
fi
for _ in $(seq 200); do [[ -s "$work/display" ]] && break; sleep 0.05; done
[[ -s "$work/display" ]] || { echo "window_cost: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb
unset QT_AUTO_SCREEN_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING

bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 2>"$work/dbus.log") ||
    { echo "window_cost: dbus-daemon did not start" >&2; exit 1; }
pids+=("$(sed -n 2p <<<"$bus")")
export DBUS_SESSION_BUS_ADDRESS
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 <<<"$bus")

# A private home for the program, the panel on; the emulator's profile 0 runs effect 1 (Wave), colourful.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME/Varn88-3_6027" "$work/state.userdata"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[KEYCOLOR]\nDengCheck=1\n' | tee "$work/state.userdata/rira.ini" >"$XDG_DATA_HOME/Varn88-3_6027/rira.ini"

# The id of every top-level window that is mapped, one a line.
mkfifo "$work/maps"
stdbuf -oL xev -root -event substructure 2>/dev/null |
    while read -r line; do
        [[ $line == MapNotify* ]] || continue
        read -r line && [[ $line =~ window\ (0x[0-9a-f]+) ]] && echo "${BASH_REMATCH[1]}"
    done >"$work/maps" &
pids+=($!)
exec 4<"$work/maps"
sleep 0.5

rss_mb() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# start NAME COMMAND...: runs the command, waits for its first mapped window of at least 200 pixels in width,
# prints "start_ms rss_mb width height", and ends it.
start() {
    local id t0 t1 pid w=0 h=0 info
    while read -r -t 0.01 -u 4 _; do :; done # forget windows of earlier runs
    t0=${EPOCHREALTIME/./}
    "$@" >/dev/null 2>&1 &
    pid=$!
    while read -r -t 20 -u 4 id; do
        t1=${EPOCHREALTIME/./}
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        w=$(awk '/Width:/ { print $2 }' <<<"$info")
        h=$(awk '/Height:/ { print $2 }' <<<"$info")
        ((w >= 200)) && break
    done
    sleep 2
    local rss
    rss=$(rss_mb "$pid")
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    awk -v a="$t0" -v b="${t1:-0}" -v r="$rss" -v w="$w" -v h="$h" 'BEGIN { printf "%.1f %s %d %d\n", (b - a) / 1000, r, w, h }'
}

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
sleeps() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/task/$1/status"; }
# load PID: CPU share of one core and main-thread wakeups per second over $seconds.
load() {
    local t0 s0 t1 s1
    t0=$(ticks "$1") s0=$(sleeps "$1")
    sleep "$seconds"
    t1=$(ticks "$1") s1=$(sleeps "$1")
    awk -v d=$((t1 - t0)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v w=$((s1 - s0)) \
        'BEGIN { printf "%.2f %.1f\n", 100 * d / hz / s, w / s }'
}

table="$work/table"
printf '| scale | bare: start ms | ombrel: start ms | ratio | bare: RSS MB | ombrel: RSS MB | ratio | preview CPU %% | main-thread wakeups/s |\n' >"$table"
printf '|---|---|---|---|---|---|---|---|---|\n' >>"$table"
for scale in $scales; do
    export QT_SCALE_FACTOR=$scale
    # A first start warms the caches and tells the program's window size, which the bare window takes over.
    read -r _ _ w h < <(start "$ombrel" --emulator="$work/state")
    lw=$(awk -v w="$w" -v s="$scale" 'BEGIN { printf "%d", w / s + 0.5 }')
    lh=$(awk -v h="$h" -v s="$scale" 'BEGIN { printf "%d", h / s + 0.5 }')
    echo "scale $scale: window ${w}x${h} pixels (${lw}x${lh} in the window's coordinates)" >&2
    : >"$work/bare" && : >"$work/ombrel"
    for ((i = 0; i < runs; ++i)); do
        start "$bare" "$lw" "$lh" >>"$work/bare"
        start "$ombrel" --emulator="$work/state" >>"$work/ombrel"
    done
    bs=$(cut -d' ' -f1 "$work/bare" | median) os=$(cut -d' ' -f1 "$work/ombrel" | median)
    bm=$(cut -d' ' -f2 "$work/bare" | median) om=$(cut -d' ' -f2 "$work/ombrel" | median)
    echo "  bare starts: $(cut -d' ' -f1 "$work/bare" | tr '\n' ' ')ms; ombrel: $(cut -d' ' -f1 "$work/ombrel" | tr '\n' ' ')ms" >&2

    "$ombrel" --emulator="$work/state" >/dev/null 2>&1 &
    pid=$!
    sleep 4
    read -r cpu wakeups < <(load "$pid")
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    awk -v s="$scale" -v bs="$bs" -v os="$os" -v bm="$bm" -v om="$om" -v c="$cpu" -v w="$wakeups" \
        'BEGIN { printf "| %s | %s | %s | %.2fx | %s | %s | %.2fx | %s | %s |\n", s, bs, os, os / bs, bm, om, om / bm, c, w }' \
        >>"$table"
done
unset QT_SCALE_FACTOR

if command -v trayer >/dev/null; then
    trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
    "$ombrel" --start --emulator="$work/state" >/dev/null 2>&1 &
    pid=$!
    sleep 4
    read -r cpu wakeups < <(load "$pid")
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    printf '\nWindow hidden in the tray: CPU %s %% of a core, main thread woke %s times a second.\n' "$cpu" "$wakeups" >>"$table"
else
    printf '\nThe hidden case needs trayer; not measured.\n' >>"$table"
fi
echo
cat "$table"
