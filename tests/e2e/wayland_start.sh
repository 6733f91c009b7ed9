#!/usr/bin/env bash
# The program under Wayland: weston's headless compositor and Qt's wayland platform, so that a protocol error or a
# crash on that path is seen. A run driven through --test-control (the window shows, the keyboard is unplugged and
# comes back, /Kill ends it), then a --screenshot run that must save a picture and end with status 0.
#   wayland_start.sh OMBREL
set -uo pipefail
ombrel=$1
for tool in weston; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed (scripts/install-deps installs it)"; exit 1; }
done

# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
unset DISPLAY
export WAYLAND_DISPLAY=ombrel-e2e QT_QPA_PLATFORM=wayland

weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --width=1366 --height=768 \
    >"$work/weston.log" 2>&1 &
track $!
check "weston starts" until_ok 20 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"

mkfifo "$fifo"
"$ombrel" --emulator="$state" --test-control="$fifo" >"$work/program.log" 2>&1 &
program=$!
track "$program"
check "the window shows under Wayland" until_ok 20 dump_has "visible 1"
echo unplug >"$fifo"
check "an unplug is said in the window" until_ok 10 dump_has "unplugged 1"
echo plug >"$fifo"
check "the note goes when the keyboard is back" until_ok 10 dump_has "unplugged 0"
check "the program is still running" kill -0 "$program"
"$ombrel" /Kill >"$work/kill.log" 2>&1
check "/Kill ends the running program" until_ok 10 bash -c "! kill -0 $program 2>/dev/null"
wait "$program" 2>/dev/null
check "the program ended with status 0" test $? -eq 0

timeout 40 "$ombrel" --emulator="$state" --screenshot="$work/shot.png" >"$work/shot.log" 2>&1
check "--screenshot ends with status 0" test $? -eq 0
check "--screenshot saved a picture" test -s "$work/shot.png"

echo "e2e wayland: $passed passed, $failed failed"
if ((failed > 0)); then
    echo "--- program log"
    cat "$work/program.log" "$work/shot.log" 2>/dev/null
    ls "$work"
    echo "--- weston log"
    tail -n 20 "$work/weston.log"
    exit 1
fi
