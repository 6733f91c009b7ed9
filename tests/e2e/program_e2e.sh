#!/usr/bin/env bash
# End-to-end: the real program on the emulated keyboard under X (DISPLAY set by scripts/with-xvfb), with trayer as
# the tray. Steps: an assignment made with ombrelctl shows on the map; the tray icon appears and a double click
# opens the window; Cancel hides it; a second start hands over and opens it; a click on a key opens its assignment
# dialog, which captures a real key press and records a macro from real key presses, and the window's Apply writes
# both (checked with ombrelctl); the lighting panel is switched on, the user effect chosen and Esc painted (checked
# in the emulator's memory and the colour file with ombrelctl at the end); a click in the marking view marks a key;
# the window's menu, driven from the keyboard, turns "Start with my session" on and off; an unplugged keyboard
# leaves the window open with a note over it, which goes when the keyboard is back;
# the speed slider's ends are read back with ombrelctl; "/Kill" ends the program. With E2E_WM=openbox the same runs under that window manager, and after every step the
# window must still be where it was and fully on the screen (a click must never move it). Edits survive an unplug,
# the profile question answered with Enter, and Cancel; the key dialog is used from the keyboard alone.
#   program_e2e.sh OMBREL OMBRELCTL
set -uo pipefail
ombrel=$1
ombrelctl=$2
wm=${E2E_WM:-}
for tool in xdotool xwininfo trayer ${wm}; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed (scripts/install-deps installs it)"; exit 1; }
done

# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
button_field() { # button_field SKINKEY FIELD [KIND]: 3 checked, 4 enabled, 5..8 x y w h
    awk -v k="$1" -v f="$2" -v kind="${3:-button}" '$1 == kind && $2 == k { print $(f) }' "$dump"
}
click_button() { # click_button SKINKEY [KIND]: a button of the window, or with KIND dbutton one of its dialog
    fresh_dump || return 1
    local x y w h
    x=$(button_field "$1" 5 "${2:-button}") y=$(button_field "$1" 6 "${2:-button}")
    w=$(button_field "$1" 7 "${2:-button}") h=$(button_field "$1" 8 "${2:-button}")
    [[ -n "$x" ]] || return 1
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}
click_dbutton() { click_button "$1" dbutton; }
tray_icon_geometry() { # absolute x y w h of the program's icon inside the tray
    xwininfo -root -tree | awk '/"ombrel": \("ombrel" "ombrel"\)/ && /[0-9]+x[0-9]+\+/ {
        split($0, a, /\)  /); split(a[2], g, /[x+ ]+/); n = split(a[2], t, /[ +]+/);
        print t[n - 1], t[n], g[1], g[2]; exit }'
}
read -r screen_w screen_h <<<"$(xwininfo -root | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }')"
frame_field() { awk -v f="$1" '$1 == "frame" { print $(f + 1) }' "$dump"; }
home_frame=""
frame_remember() { fresh_dump && home_frame="$(frame_field 1) $(frame_field 2)"; }
# The window is where it was after the last showing and fully on the screen.
frame_kept() {
    fresh_dump || return 1
    local x y w h
    x=$(frame_field 1) y=$(frame_field 2) w=$(frame_field 3) h=$(frame_field 4)
    [[ "$x $y" == "$home_frame" ]] || { echo "    frame at $x,$y, was $home_frame"; return 1; }
    ((x >= 0 && y >= 0 && x + w <= screen_w && y + h <= screen_h)) || { echo "    frame $x,$y ${w}x$h off screen"; return 1; }
}
# Presses Tab in the key dialog until the control NAME has the focus (at most 20 times).
tab_to() {
    local i
    for ((i = 0; i < 20; i++)); do
        dump_has "focus $1" && return 0
        xdotool key Tab
        sleep 0.1
    done
    return 1
}
program_alive() { kill -0 "$program" 2>/dev/null; }
program_ended() { ! program_alive; }

# An assignment made on the keyboard by another program: the Z key disabled in profile 0.
"$ombrelctl" --emulator="$state" keymap set 1 0x02C disabled >/dev/null 2>&1
check "ombrelctl assigns a key" test $? -eq 0

if [[ -n "$wm" ]]; then
    "$wm" --sm-disable >/dev/null 2>&1 &
    track $!
    until_ok 10 xdotool search --class "$wm" >/dev/null || sleep 1
fi
trayer --edge top --align right --widthtype request --height 32 --transparent false >/dev/null 2>&1 &
track $!
until_ok 10 xdotool search --class trayer >/dev/null

mkfifo "$fifo"
"$ombrel" --emulator="$state" --test-control="$fifo" /Start >"$work/program.log" 2>&1 &
program=$!
track "$program"
check "starts into the tray with the keyboard attached" until_ok 20 dump_has "tray 141"
check "stays hidden with /Start" dump_has "visible 0"
check "the map shows the assignment made with ombrelctl" test "$(button_field KEY_02C 3)" = 1
check "an unassigned key is not marked" test "$(button_field KEY_02D 3)" = 0

until_ok 10 test -n "$(tray_icon_geometry)"
read -r tx ty tw th <<<"$(tray_icon_geometry)"
check "the tray icon appears" test -n "${tx:-}"
if [[ -n "${tx:-}" ]]; then
    xdotool mousemove $((tx + tw / 2)) $((ty + th / 2)) click --repeat 2 --delay 60 1
fi
check "a double click on the tray icon opens the window" until_ok 10 dump_has "visible 1"
sleep 0.5
frame_remember
# Clicks on the window's own surface (no control there) and a press without a drag move nothing.
read -r fx fy fw fh <<<"$(frame_field 1) $(frame_field 2) $(frame_field 3) $(frame_field 4)"
xdotool mousemove $((fx + fw / 2)) $((fy + 20)) click 1
sleep 0.3
xdotool mousemove $((fx + 30)) $((fy + fh - 12)) click 1
sleep 0.3
xdotool mousemove $((fx + fw / 2)) $((fy + 20)) click 1
sleep 0.3
check "clicks on the window's surface leave it in place" frame_kept

click_button CONTROL_CANCEL
check "Cancel hides the window" until_ok 10 dump_has "visible 0"

"$ombrel" --emulator="$state" >"$work/second.log" 2>&1
check "a second start ends at once with status 0" test $? -eq 0
check "a second start opens the running window" until_ok 10 dump_has "visible 1"

# The key assignment dialog: a real click on Caps Lock opens it, a real key press is captured, OK stores it.
click_button KEY_03A
check "a click on a key opens its assignment dialog" until_ok 5 dump_has "composite 1"
tab_to FUNC_KEY_INPUT
xdotool key b
check "a key pressed in the dialog is captured" until_ok 5 dump_has "keybox B"
click_dbutton CONTROL_OK
check "OK closes the dialog" until_ok 5 dump_has "composite 0"
check "the map marks the key as assigned" test "$(button_field KEY_03A 3)" = 1
check "the assignment waits for Apply" dump_has "apply 1"
check "the window did not move" frame_kept
# The unapplied edit outlives an unplug and a replug, and the profile question answered with Enter keeps it.
echo unplug >"$fifo"
until_ok 10 dump_has "unplugged 1"
echo plug >"$fifo"
until_ok 10 dump_has "unplugged 0"
sleep 0.5
check "an unplug and a replug keep the unapplied edit" dump_has "apply 1"
check "the key keeps its mark over the replug" test "$(button_field KEY_03A 3)" = 1
click_button FUNC_PROFILE2
sleep 0.8
xdotool key Return
sleep 0.5
check "Enter on the profile question loses nothing" dump_has "apply 1"
check "and the profile stays" test "$(button_field FUNC_PROFILE1 3)" = 1
check "the window did not move" frame_kept
# Cancel keeps the edit; the window, opened again, says it is waiting.
click_button CONTROL_CANCEL
until_ok 10 dump_has "visible 0"
"$ombrel" --emulator="$state" >"$work/second.log" 2>&1
until_ok 10 dump_has "visible 1"
check "Cancel kept the edit" dump_has "apply 1"
check "the reopened window says that changes are waiting" dump_has "changes-waiting 1"
sleep 0.5
frame_remember
# The key dialog from the keyboard alone: Tab to the key box, Esc captured as F5's new function, Tab to OK, Enter.
click_button KEY_03F
check "a click on F5 opens its dialog" until_ok 5 dump_has "composite 1"
check "the dialog does not capture before it is asked" dump_has "capturing 0"
check "Tab reaches the key box, which then captures" tab_to FUNC_KEY_INPUT
check "the key box waits for a key" dump_has "capturing 1"
xdotool key Escape
check "Esc is captured, not taken as Cancel" until_ok 5 dump_has "keybox Esc"
check "the dialog stays open" dump_has "composite 1"
check "capture ended after one key" dump_has "capturing 0"
check "Tab reaches OK" tab_to CONTROL_OK
xdotool key Return
check "Enter on OK closes the dialog" until_ok 5 dump_has "composite 0"
# Disabled, chosen from the keyboard too.
click_button KEY_03E
until_ok 5 dump_has "composite 1"
# Tab enters the group of choices at the chosen one; the arrow keys move to the others and choose them.
check "Tab reaches the choices" tab_to FUNC_KEY_RADIO_KB
xdotool key Right
check "the arrow key reaches Disabled" until_ok 5 dump_has "focus keyDisabledChoice"
xdotool key space
click_dbutton CONTROL_OK
check "OK closes the dialog" until_ok 5 dump_has "composite 0"
check "the window did not move" frame_kept
# A macro recorded from real key presses, put on G1.
click_button FUNC_G1
until_ok 5 dump_has "composite 1"
click_dbutton CONTROL_MACRO
click_dbutton FUNC_MACRO_ADD
click_dbutton FUNC_MACRO_RECORD
check "Record starts recording" until_ok 5 dump_has "recording 1"
xdotool keydown a sleep 0.12 keyup a
check "a key's press and release are recorded" until_ok 5 dump_has "steps 2"
click_dbutton FUNC_MACRO_RECORD
check "Stop ends recording" until_ok 5 dump_has "recording 0"
click_dbutton CONTROL_OK
until_ok 5 dump_has "composite 0"
click_button CONTROL2_APPLY
check "Apply writes the keyboard" until_ok 20 dump_has "apply 0"

# The lighting panel with real X input: switched on, the user effect chosen from the list, Esc painted.
click_control() { # click_control NAME: a control of the lighting panel, by its object name
    fresh_dump || return 1
    local x y w h
    read -r x y w h <<<"$(awk -v k="$1" '$1 == "control" && $2 == k { print $4, $5, $6, $7 }' "$dump")"
    [[ -n "$x" ]] || return 1
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}
click_control_at() { # click_control_at NAME left|right: near one end of a lighting control
    fresh_dump || return 1
    local x y w h
    read -r x y w h <<<"$(awk -v k="$1" '$1 == "control" && $2 == k && $3 == 1 { print $4, $5, $6, $7 }' "$dump")"
    [[ -n "$x" ]] || return 1
    if [[ "$2" == left ]]; then x=$((x + 2)); else x=$((x + w - 3)); fi
    xdotool mousemove "$x" $((y + h / 2)) click 1
}
# The keyboard's lighting as ombrelctl reads it from a copy of the emulator's memory (the program holds the file).
lighting_field() { # lighting_field FIELD
    cp "$state" "$work/snapshot.state" && "$ombrelctl" --emulator="$work/snapshot.state" lighting show 1 2>/dev/null |
        awk -v f="$1" '$1 == f { print $2 }'
}
click_control CONTROL_DengStaPic
check "the lighting switch turns the panel on" until_ok 5 dump_has "lighting 1"
# The speed slider's ends: slow at the left (4), fast at the right (0), as ombrelctl's help says.
check "the slider's ends say slow and fast" test "$(awk '$1 == "control" && $2 ~ /^speed(Slow|Fast)Label$/ && $3 == 1' "$dump" | wc -l)" -eq 2
click_control_at CONTROL_SpeedSlider left
check "the speed slider's left end writes the slowest speed" until_ok 5 test "$(lighting_field speed)" = 4
click_control_at CONTROL_SpeedSlider right
check "the speed slider's right end writes the fastest speed" until_ok 5 test "$(lighting_field speed)" = 0
click_control CONTROL_XGcombox
sleep 0.3
xdotool key End Return
check "the user effect is chosen from the effect list" until_ok 5 dump_has "effect 20"
click_button KEY_001
sleep 0.3
check "the window did not move" frame_kept
click_control CONTROL_DengStaPic
check "the lighting switch turns the panel off" until_ok 5 dump_has "lighting 0"
# In the marking view a click marks the key instead of opening the dialog.
click_button FUNC_SWITCH
click_button KEY_01E
check "a click in the marking view marks the key" until_ok 5 dump_has "apply 1"

# The window's menu: its last item is "Start with my session" (Up from the top wraps to it).
autostart="$XDG_CONFIG_HOME/autostart/ombrel.desktop"
menu_item_last() { click_button CONTROL_MENU && sleep 0.5 && xdotool key Up Return; }
menu_item_last
check "Start with my session writes the autostart entry" until_ok 5 grep -q '^Exec=.* --start$' "$autostart"
menu_item_last
check "turning it off removes the entry" until_ok 5 test ! -e "$autostart"

echo unplug >"$fifo"
check "unplugging shows the no-keyboard icon" until_ok 10 dump_has "tray 128"
check "unplugging says so in the open window" until_ok 10 dump_has "unplugged 1"
check "the window stays open while unplugged" dump_has "visible 1"
echo plug >"$fifo"
check "the note goes when the keyboard is back" until_ok 10 dump_has "unplugged 0"
check "the window did not move" frame_kept

# The key marked above is an unapplied edit: /Kill asks in the window first and the program runs on meanwhile;
# /Kill --force ends it without waiting for the answer.
toplevels=$(fresh_dump && awk '$1 == "toplevels" { print $2 }' "$dump")
"$ombrel" /Kill >"$work/kill.log" 2>&1
check "/Kill ends with status 0" test $? -eq 0
check "/Kill says the program asks in its window" grep -q "asks in its window" "$work/kill.log"
check "/Kill with an unapplied edit asks in the window first" until_ok 10 dump_has "toplevels $((toplevels + 1))"
check "the edit is still there while it asks" dump_has "apply 1"
check "the program runs on while it asks" program_alive
"$ombrel" /Kill --force >>"$work/kill.log" 2>&1
check "/Kill --force ends with status 0" test $? -eq 0
check "/Kill --force ends the running program" until_ok 10 program_ended
wait "$program" 2>/dev/null
check "the program ended with status 0" test $? -eq 0
# What the lighting steps wrote, read back from the emulator's memory and the colour file.
"$ombrelctl" --emulator="$state" read-lighting 1 >"$work/lighting" 2>&1
check "the keyboard runs the user effect" grep -q '^0000  14 ' "$work/lighting"
"$ombrelctl" --emulator="$state" colors show 1 >"$work/colors" 2>&1
check "Esc was painted with the brush colour" grep -qE '^0x001 .* slot   0  2EE6D6  brush$' "$work/colors"

# What the dialog stored and Apply wrote, read from the emulated keyboard by ombrelctl once the program has let go
# of the emulator's state file.
"$ombrelctl" --emulator="$state" keymap show 1 >"$work/keymap" 2>&1
check "ombrelctl sees Caps Lock sending B" grep -q '^Caps Lock: Key (B)$' "$work/keymap"
check "ombrelctl sees F5 sending Esc" grep -q '^F5: Key (Esc)$' "$work/keymap"
f4=$(sed -n 's/^F4: //p' "$work/keymap") z=$(sed -n 's/^Z: //p' "$work/keymap")
check "ombrelctl sees F4 disabled, as Z that ombrelctl disabled" test -n "$z" -a "$f4" = "$z"
[[ "$f4" == "$z" ]] || echo "    F4: $f4, Z: $z"
check "ombrelctl sees G1 playing the macro" grep -q '^G1: Macro (Macro 1)$' "$work/keymap"
"$ombrelctl" --emulator="$state" macro list >"$work/macros" 2>&1
check "ombrelctl lists the recorded macro with its two steps" grep -Eq '^1 +1 +2 +Macro 1 +1:G1$' "$work/macros"

echo "e2e: $passed passed, $failed failed"
if ((failed > 0)); then
    echo "--- program log"
    cat "$work/program.log"
    exit 1
fi
