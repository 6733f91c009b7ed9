#!/usr/bin/env bash
# CPU of the whole program while the lighting panel is on and effect 1 animates the map, as a share of one core,
# over 30 s under Xvfb (goal: at most 2 %); then the same with the window hidden in the tray, where the preview
# must not tick at all (goal: no wakeups of the main thread beyond the program's own idle timers).
#   bench/preview_cpu.sh [SECONDS]        (run from the source tree after a build)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
ombrel=$PWD/build/bin/ombrel
if [[ -z "${DISPLAY:-}" ]]; then exec scripts/with-xvfb "$0" "$@"; fi

work=$(mktemp -d)
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME/Varn88-3_6027" && chmod 700 "$XDG_RUNTIME_DIR"
# The lighting panel on; the emulator's profile 0 (active) runs effect 1, colourful.
# (On the emulator the per-user data lives beside the state file.) PANEL=0 measures with the panel off.
mkdir -p "$work/state.userdata"
printf "[KEYCOLOR]\nDengCheck=${PANEL:-1}\n" | tee "$work/state.userdata/rira.ini" >"$XDG_DATA_HOME/Varn88-3_6027/rira.ini"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
switches() { awk '/ctxt_switches/ { n += $2 } END { print n }' "/proc/$1/task/$1/status"; }

measure() { # measure NAME PID: CPU share and main-thread wakeups over $seconds
    local t0 s0 t1 s1 hz
    hz=$(getconf CLK_TCK)
    t0=$(ticks "$2") s0=$(switches "$2")
    sleep "$seconds"
    t1=$(ticks "$2") s1=$(switches "$2")
    awk -v n="$1" -v d=$((t1 - t0)) -v hz="$hz" -v s="$seconds" -v w=$((s1 - s0)) \
        'BEGIN { printf "%-28s CPU %.2f %% of a core, main thread woke %d times (%.1f/s)\n", n, 100 * d / hz / s, w, w / s }'
}

"$ombrel" --emulator="$work/state" >/dev/null 2>&1 &
pids+=($!)
sleep 4
measure "window shown, effect 1" "${pids[-1]}"
kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null

if command -v trayer >/dev/null; then
    trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
    "$ombrel" --start --emulator="$work/state" >/dev/null 2>&1 &
    pids+=($!)
    sleep 4
    measure "window hidden in the tray" "${pids[-1]}"
else
    echo "trayer is not installed: the hidden case needs a tray"
fi
