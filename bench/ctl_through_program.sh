#!/usr/bin/env bash
# How long ombrelctl takes while the window program runs on the same (emulated) keyboard: through the program over
# a private session bus, the same with --direct (which waits for the program to let go of the keyboard and gives
# up), and directly once the program has ended. Prints milliseconds per command; nothing is asserted.
#   bench/ctl_through_program.sh [RUNS]        (run from the source tree after a build)
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
bin=$PWD/build/bin
work=$(mktemp -d)
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
export QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/bus"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT
dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork >/dev/null 2>&1 &
pids+=($!)
state="$work/state"

time_ms() { # time_ms LABEL COMMAND...: the median of RUNS runs
    local label=$1 times=() i start
    shift
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        times+=($((($(date +%s%N) - start) / 1000000)))
    done
    printf '%-60s %6d ms (median of %d)\n' "$label" "$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")" "$runs"
}
commands=("profile get" "keymap set 1 CapsLock key:Esc" "keymap show 1" "backup --force $work/b.obp")

"$bin/ombrel" --emulator="$state" /Start >/dev/null 2>&1 &
program=$!
pids+=("$program")
for _ in $(seq 100); do
    busctl --user status io.github.ombrel.Ombrel >/dev/null 2>&1 && break
    sleep 0.1
done
for c in "${commands[@]}"; do
    # shellcheck disable=SC2086
    time_ms "window running, through it: $c" "$bin/ombrelctl" --emulator="$state" $c
done
runs=1 time_ms "window running, --direct: profile get" "$bin/ombrelctl" --emulator="$state" --direct profile get
kill "$program"
wait "$program" 2>/dev/null
for c in "${commands[@]}"; do
    # shellcheck disable=SC2086
    time_ms "no window, directly: $c" "$bin/ombrelctl" --emulator="$state" $c
done
