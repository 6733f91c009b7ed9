#!/usr/bin/env bash
# The keyboard's service on a private session bus, driven by clients this project did not write: the program is
# started by D-Bus activation on the emulator, then busctl (systemd), gdbus (GLib) and dbus-send call it while
# dbus-monitor records the PropertiesChanged signals; the window's own account (--test-control) shows what it
# displays. ombrelctl runs one table of commands through the program, and the same table again directly once the
# program has ended: output and exit codes must be the same, and the keyboard must hold what the calls wrote.
#   bus_service_check.sh OMBREL OMBRELCTL
set -uo pipefail
ombrel=$1
ctl=$2
for tool in dbus-daemon dbus-send dbus-monitor gdbus busctl; do
    command -v "$tool" >/dev/null || { echo "bus: $tool is not installed (scripts/install-deps installs it)"; exit 1; }
done

# shellcheck source=../e2e/e2e_common.sh
source "$(dirname "$0")/../e2e/e2e_common.sh"
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=offscreen
export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
name=io.github.ombrel.Ombrel
path=/io/github/ombrel/Ombrel/Keyboard
iface=io.github.ombrel.Keyboard1

mkdir -p "$work/services" "$work/bus" "$work/direct"
mkfifo "$fifo"
# What an installed service file says, pointed at this build, the emulator and the test control.
cat >"$work/services/$name.service" <<SERVICE
[D-BUS Service]
Name=$name
Exec=$ombrel --emulator=$state --test-control=$fifo /Start
SERVICE
cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$XDG_RUNTIME_DIR/bus</listen>
  <servicedir>$work/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
dbus-daemon --config-file="$work/bus.conf" --nofork >"$work/dbus.log" 2>&1 &
track $!
check "the private session bus starts" until_ok 10 test -S "$XDG_RUNTIME_DIR/bus"

# Activation: a property read starts the stopped program, which answers it.
present=$(timeout 30 gdbus call --session --dest "$name" --object-path "$path" \
    --method org.freedesktop.DBus.Properties.Get "$iface" Present 2>&1)
check "a call starts the program by activation and reads Present (gdbus)" test "$present" = "(<true>,)"
program=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID "$name" 2>/dev/null | sed -n 's/^(uint32 \([0-9]*\),)$/\1/p')
[[ -n $program ]] && track "$program"
check "the program's process is known" kill -0 "$program"
check "the activated program is ready" until_ok 10 dump_has "ready 1"

dbus-monitor --session "type='signal',interface='org.freedesktop.DBus.Properties',member='PropertiesChanged'" \
    >"$work/monitor.log" 2>&1 &
track $!
check "dbus-monitor listens" until_ok 20 grep -q NameAcquired "$work/monitor.log"

# busctl: switch the profile; the property, the signal and the window follow.
check "busctl SetActiveProfile 3" busctl --user call "$name" "$path" "$iface" SetActiveProfile u 3
check "busctl reads ActiveProfile 3" test "$(busctl --user get-property "$name" "$path" "$iface" ActiveProfile)" = "u 3"
check "PropertiesChanged announced profile 3" until_ok 20 grep -A3 -F '"ActiveProfile"' "$work/monitor.log" \
    | grep -q 'uint32 3'
check "the window shows profile 3 at once" until_ok 20 dump_has "profile 3"

# dbus-send: the writable property.
quiet() { "$@" >/dev/null; }
check "dbus-send sets ActiveProfile to 2" quiet dbus-send --session --print-reply --dest="$name" "$path" \
    org.freedesktop.DBus.Properties.Set string:"$iface" string:ActiveProfile variant:uint32:2
check "gdbus reads ActiveProfile 2" test "$(gdbus call --session --dest "$name" --object-path "$path" \
    --method org.freedesktop.DBus.Properties.Get "$iface" ActiveProfile)" = "(<uint32 2>,)"

# Bad arguments: a named error with ombrelctl's words, and nothing changed.
bad=$(dbus-send --session --print-reply --dest="$name" "$path" "$iface.SetActiveProfile" uint32:9 2>&1)
check "a profile out of range is InvalidArgument" grep -q "^Error io.github.ombrel.Error.InvalidArgument: '9' is not a profile: profiles are 1, 2 and 3$" <<<"$bad"
bad=$(dbus-send --session --print-reply --dest="$name" "$path" org.freedesktop.DBus.Properties.Set \
    string:"$iface" string:ActiveProfile variant:string:two 2>&1)
check "a profile that is no number is InvalidArgument" grep -q '^Error io.github.ombrel.Error.InvalidArgument' <<<"$bad"
bad=$(dbus-send --session --print-reply --dest="$name" "$path" io.github.ombrel.CommandLine1.Exchange \
    array:byte:4,0,0,0xee,0 2>&1)
check "the boot request is Refused" grep -q '^Error io.github.ombrel.Error.Refused' <<<"$bad"
check "a refused call changed nothing" test "$(busctl --user get-property "$name" "$path" "$iface" ActiveProfile)" = "u 2"

# An unapplied edit in the window stays when a client changes the keyboard, and the window says why.
echo edit >"$fifo"
check "the window holds an unapplied edit" until_ok 20 dump_has "apply 1"
"$ctl" --emulator="$state" keymap set 2 ScrollLock key:Esc >"$work/edit.out" 2>&1
check "ombrelctl changes the keyboard through the program" grep -q . "$work/edit.out"
check "the window says the keyboard was changed elsewhere" until_ok 20 bash -c \
    "echo dump $dump >$fifo; sleep 0.2; grep -q '^note The keyboard was changed elsewhere' $dump"
check "the edit is kept" dump_has "apply 1"
# The program only passed the reports on: the write history names ombrelctl as the writer, and the window's
# reload that followed changed nothing, so the last row is ombrelctl's.
"$ctl" --emulator="$state" history list >"$work/history.out" 2>&1
check "the forwarded write is kept in the history under ombrelctl" \
    bash -c "tail -n 1 '$work/history.out' | grep -q '  ombrelctl  Profile 2, Scroll Lock: .* -> Key (Esc)'"

# One table of commands, through the program now and directly after it ended.
# Every command gives the same answer twice in a row, so both runs start from the same keyboard.
commands=(
    "profile set 2"
    "info"
    "--json info"
    "profile list"
    "profile set 4"
    "keymap set 1 CapsLock key:Esc"
    "keymap set 1 NoSuchKey key:Esc"
    "keymap reset 1 ScrollLock"
    "keymap show 1"
    "colors paint 1 Esc FF0000"
    "colors show 1"
    "lighting show 1"
    "macro list"
    "read-config"
    "colors paint 1 G3 123456"
)
run_table() { # run_table FOLDER [--direct]
    local i=0 command
    for command in "${commands[@]}"; do
        # shellcheck disable=SC2086
        timeout 30 "$ctl" --emulator="$state" ${2:-} $command >"$1/$i.out" 2>"$1/$i.err"
        echo $? >"$1/$i.rc"
        i=$((i + 1))
    done
}
start=$(date +%s%N)
run_table "$work/bus"
echo "bus: the table through the program took $((($(date +%s%N) - start) / 1000000)) ms"
check "no command waited for the program" bash -c "! grep -l waiting $work/bus/*.err"
check "the commands reached the keyboard through the program" test "$(cat "$work/bus/1.rc")" = 0
check "the window shows ombrelctl's profile switch" until_ok 20 dump_has "profile 2"

# A key's function read over the bus, in ombrelctl's names; a bad key name is refused with ombrelctl's words.
key=$(gdbus call --session --dest "$name" --object-path "$path" --method "$iface.GetKey" 1 "caps lock" 2>&1)
check "gdbus GetKey reads the key ombrelctl set" test "$key" = "('key:0x001', 'Key (Esc)')"
bad=$(dbus-send --session --print-reply --dest="$name" "$path" "$iface.GetKey" uint32:1 string:NoSuchKey 2>&1)
check "a bad key name is InvalidArgument with ombrelctl's message" \
    test "$bad" = "Error io.github.ombrel.Error.InvalidArgument: $(head -n 1 "$work/bus/6.err")"

# Key functions written over the bus (profile 3, which the table above leaves alone): the reply tells what the key
# does now, a bad name or function is InvalidArgument with ombrelctl's words and writes nothing, and the window
# reloads while keeping the user's unapplied edit.
set_key=$(busctl --user call "$name" "$path" "$iface" SetKey uss 3 "num lock" key:A 2>&1)
check "busctl SetKey gives Num Lock of profile 3 the key A" test "$set_key" = 'ss "key:0x01E" "Key (A)"'
check "gdbus SetKey disables F1 of profile 3" gdbus call --session --dest "$name" --object-path "$path" \
    --method "$iface.SetKey" 3 F1 disabled
reset=$(dbus-send --session --print-reply=literal --dest="$name" "$path" "$iface.ResetKey" uint32:3 string:F1 2>&1)
check "dbus-send ResetKey gives F1 its factory function back" grep -q "default" <<<"$reset"
bad=$(dbus-send --session --print-reply --dest="$name" "$path" "$iface.SetKey" uint32:3 string:NoSuchKey \
    string:key:Esc 2>&1)
check "SetKey with a bad key name is InvalidArgument with ombrelctl's message" \
    test "$bad" = "Error io.github.ombrel.Error.InvalidArgument: $(head -n 1 "$work/bus/6.err")"
bad=$(busctl --user call "$name" "$path" "$iface" SetKey uss 3 "scroll lock" key:nonsense 2>&1)
check "SetKey with a bad function is refused" grep -q "'nonsense' is not a key name or key code" <<<"$bad"
bad=$(busctl --user call "$name" "$path" "$iface" ResetKey us 3 NoSuchKey 2>&1)
check "ResetKey with a bad key name is refused" grep -q "'NoSuchKey' is not a key of the keyboard" <<<"$bad"
check "the window keeps its unapplied edit after a bus write" until_ok 20 dump_has "apply 1"

# Lighting over the bus, profile 3 again: fields by ombrelctl's names, a bad field or value refused unwritten.
check "busctl SetLighting sets the brightness of profile 3" \
    test "$(busctl --user call "$name" "$path" "$iface" SetLighting uss 3 brightness 2)" = 's "brightness 2"'
check "gdbus SetLighting sets the speed of profile 3" quiet gdbus call --session --dest "$name" \
    --object-path "$path" --method "$iface.SetLighting" 3 speed 4
lighting=$(gdbus call --session --dest "$name" --object-path "$path" --method "$iface.GetLighting" 3 2>&1)
check "gdbus GetLighting reads brightness 2 and speed 4" \
    bash -c "grep -q \"'brightness': <uint32 2>\" <<<\"\$1\" && grep -q \"'speed': <uint32 4>\" <<<\"\$1\"" _ "$lighting"
bad=$(dbus-send --session --print-reply --dest="$name" "$path" "$iface.SetLighting" uint32:3 string:sparkle \
    string:1 2>&1)
check "SetLighting with a bad field is InvalidArgument" grep -q \
    "^Error io.github.ombrel.Error.InvalidArgument: 'sparkle' is not a lighting field" <<<"$bad"
bad=$(busctl --user call "$name" "$path" "$iface" SetLighting uss 3 brightness 9 2>&1)
check "SetLighting with a brightness out of range is refused" grep -q "brightness must be a whole number from 0" <<<"$bad"
bad=$(busctl --user call "$name" "$path" "$iface" SetLighting uss 3 effect NoSuchEffect 2>&1)
check "SetLighting with an effect not offered is refused" grep -q "does not offer the effect 'NoSuchEffect'" <<<"$bad"

# Painting over the bus, profile 3's current pattern: a key and Fn painted, a G key or a bad colour refused unwritten.
check "busctl PaintKey paints Caps Lock of profile 3" quiet busctl --user call "$name" "$path" "$iface" PaintKey uss \
    3 "caps lock" 00ff00
check "gdbus PaintKey paints Fn of profile 3" quiet gdbus call --session --dest "$name" --object-path "$path" \
    --method "$iface.PaintKey" 3 Fn 0,0,255
bad=$(dbus-send --session --print-reply --dest="$name" "$path" "$iface.PaintKey" uint32:3 string:G3 \
    string:123456 2>&1)
check "PaintKey of a G key is InvalidArgument with ombrelctl's message" \
    test "$bad" = "Error io.github.ombrel.Error.InvalidArgument: $(head -n 1 "$work/bus/14.err")"
bad=$(busctl --user call "$name" "$path" "$iface" PaintKey uss 3 Esc nocolour 2>&1)
check "PaintKey with a bad colour is refused" grep -q "'nocolour'" <<<"$bad"

macros=$(busctl --user call "$name" "$path" "$iface" ListMacros 2>&1)

# The whole keyboard as text and as a backup over the bus: no file name crosses the bus, only text and bytes.
reply_data() { # the first value of a busctl --json=short reply; bytes are written as they are
    python3 -c 'import json, sys
d = json.load(sys.stdin)["data"][0]
sys.stdout.buffer.write(bytes(d) if isinstance(d, list) else d.encode())'
}
bus_export() { busctl --user --json=short call "$name" "$path" "$iface" Export u "$1" | reply_data; }
bus_backup() { busctl --user --json=short call "$name" "$path" "$iface" Backup | reply_data; }
bus_restore() { # bus_restore FILE: its bytes as separate arguments, so no argument is too long for the shell
    # shellcheck disable=SC2046
    busctl --user call "$name" "$path" "$iface" Restore ay "$(stat -c %s "$1")" $(od -An -v -tu1 "$1") 2>&1
}
start=$(date +%s%N)
bus_export 0 >"$work/export-before.toml"
echo "bus: Export of the whole keyboard took $((($(date +%s%N) - start) / 1000000)) ms"
check "busctl Export 0 gives the whole keyboard file" grep -qx '\[profile.3.lighting\]' "$work/export-before.toml"
bus_export 2 >"$work/export-2.toml"
check "Export 2 gives profile 2 alone" bash -c "grep -qx '\[profile.2.keys\]' '$work/export-2.toml' && \
    ! grep -q '^\[profile.[13]' '$work/export-2.toml'"
bad=$(dbus-send --session --print-reply --dest="$name" "$path" "$iface.Export" uint32:4 2>&1)
check "Export of profile 4 is InvalidArgument" grep -q "^Error io.github.ombrel.Error.InvalidArgument: '4' is not a profile" <<<"$bad"

# Import: a dry run reports without writing, the real one writes exactly the change, a bad file writes nothing.
change=$'format = 1\n\n[profile.2.keys]\nPause = "key:A"\n'
dry=$(busctl --user --json=short call "$name" "$path" "$iface" Import sb "$change" true)
check "an Import dry run says what would change" test "$dry" = \
    '{"type":"bs","data":[true,"Profile 2, Pause: factory function -> Key (A)\n"]}'
check "a dry run wrote nothing" cmp -s "$work/export-before.toml" <(bus_export 0)
start=$(date +%s%N)
imported=$(gdbus call --session --dest "$name" --object-path "$path" --method "$iface.Import" "$change" false 2>&1)
echo "bus: Import of one key's change took $((($(date +%s%N) - start) / 1000000)) ms"
check "gdbus Import writes the change and says what changed" \
    test "$imported" = "(true, 'Profile 2, Pause: factory function -> Key (A)\n')"
again=$(busctl --user call "$name" "$path" "$iface" Import sb "$change" false 2>&1)
check "a second Import changes nothing" test "$again" = 'bs false ""'
bad=$(dbus-send --session --print-reply --dest="$name" "$path" "$iface.Import" \
    string:$'format = 1\n[profile.2.keys]\nPause = "key:Nope"\n' boolean:false 2>&1)
check "a bad keyboard file is InvalidArgument with line:column" grep -qx \
    "Error io.github.ombrel.Error.InvalidArgument: 3:9: 'Nope' is not a key name or key code" <<<"$bad"
bad=$(busctl --user call "$name" "$path" "$iface" Import sb "[profile" true 2>&1)
check "a file that is no TOML is refused with its place" grep -q "^Call failed: 1:[0-9]*: " <<<"$bad"

# Backup and Restore: the bytes of a profile file, restored as they came; a truncated one refused as ombrelctl
# refuses the file.
bus_backup >"$work/bus.obp"
check "busctl Backup gives a profile file" test "$(stat -c %s "$work/bus.obp")" -gt 1000
start=$(date +%s%N)
restored=$(bus_restore "$work/bus.obp")
echo "bus: Restore of all three profiles took $((($(date +%s%N) - start) / 1000000)) ms"
check "Restore takes the backup back" test -z "$restored"
check "the restore round-trips" cmp -s "$work/bus.obp" <(bus_backup)
head -c $(($(stat -c %s "$work/bus.obp") - 7)) "$work/bus.obp" >"$work/truncated.obp"
truncated=$(bus_restore "$work/truncated.obp")
bad=$(dbus-send --session --print-reply --dest="$name" "$path" "$iface.Restore" \
    array:byte:"$(head -c 64 "$work/bus.obp" | od -An -v -tu1 | xargs | tr ' ' ,)" 2>&1)
check "a backup of 64 bytes is InvalidArgument" grep -q \
    "^Error io.github.ombrel.Error.InvalidArgument: the backup is not a valid profile file: " <<<"$bad"
# A well-formed backup with a value out of range (profile 2's key 0x01E given an unknown kind of function) is what
# ombrelctl restores only with --force: Refused, with what is damaged.
cp "$work/bus.obp" "$work/damaged.obp"
printf '\x09' | dd of="$work/damaged.obp" bs=1 seek=$((64 + 16 * (512 + 0x1E))) conv=notrunc status=none
bad=$(dbus-send --session --print-reply --dest="$name" "$path" "$iface.Restore" \
    array:byte:"$(od -An -v -tu1 "$work/damaged.obp" | xargs | tr ' ' ,)" 2>&1)
check "a damaged backup is Refused with what is damaged" test "$bad" = "Error io.github.ombrel.Error.Refused: \
the backup: profile 2, key 0x01E: unknown kind of function 0x0009
the backup is damaged (see above); nothing was restored."
bus_export 0 >"$work/export-after.toml"
check "Import changed exactly Pause of profile 2, and Restore nothing" test \
    "$(diff "$work/export-before.toml" "$work/export-after.toml" | grep '^[<>]')" = \
    $'< Pause = "default"\n> Pause = "key:A"'

# The window still holds the unapplied edit from above: /Kill asks in the window rather than lose it, and
# /Kill --force ends the program all the same.
"$ombrel" /Kill >"$work/kill.log" 2>&1
asks_about_edits() { fresh_dump && grep -q '^question Some changes have not been applied' "$dump"; }
check "/Kill with an unapplied edit asks in the window first" until_ok 10 asks_about_edits
check "the program runs on while it asks" kill -0 "$program"
"$ombrel" /Kill --force >>"$work/kill.log" 2>&1
check "/Kill --force ends the program" until_ok 15 bash -c "! kill -0 $program 2>/dev/null"

run_table "$work/direct" --direct
for i in "${!commands[@]}"; do
    same=1
    for part in out err rc; do
        cmp -s "$work/bus/$i.$part" "$work/direct/$i.$part" || same=0
    done
    check "same output and exit code both ways: ombrelctl ${commands[$i]}" test $same = 1
    if ((same == 0)); then
        diff "$work/bus/$i.out" "$work/direct/$i.out" | head -n 5
        diff "$work/bus/$i.err" "$work/direct/$i.err" | head -n 5
        echo "    exit $(cat "$work/bus/$i.rc") through the program, $(cat "$work/direct/$i.rc") directly"
    fi
done

# What the keyboard holds after the program ended.
check "the keyboard keeps profile 2" test "$("$ctl" --emulator="$state" --direct profile get)" = 2
check "Caps Lock keeps Esc" bash -c "'$ctl' --emulator='$state' --direct keymap show 1 | grep -qx 'Caps Lock: Key (Esc)'"
check "a bad key name is exit 2 with the closest names" test "$(cat "$work/bus/6.rc")" = 2 && grep -q "NoSuchKey" "$work/bus/6.err"
profile3=$("$ctl" --emulator="$state" --direct keymap show 3)
check "Num Lock of profile 3 keeps the key A set over the bus" grep -qx 'Num Lock: Key (A)' <<<"$profile3"
check "F1 of profile 3 is back to its factory function" grep -qx 'F1: factory function' <<<"$profile3"
check "the refused calls left Scroll Lock of profile 3 alone" grep -qx 'Scroll Lock: factory function' <<<"$profile3"
lighting3=$("$ctl" --emulator="$state" --direct lighting show 3)
check "profile 3 keeps brightness 2 and speed 4 set over the bus" \
    bash -c "grep -qx 'brightness   2' <<<\"\$1\" && grep -qx 'speed        4' <<<\"\$1\"" _ "$lighting3"
macro_list=$("$ctl" --emulator="$state" --direct macro list)
macro_count=0
[[ $macro_list == "the keyboard holds no macros" ]] || macro_count=$(($(wc -l <<<"$macro_list") - 1))
check "busctl ListMacros lists the macros ombrelctl lists" grep -q "^a(usuuas) $macro_count\b" <<<"$macros"
check "Esc keeps its colour" bash -c "'$ctl' --emulator='$state' --direct colors show 1 | grep -qi 'Esc.*FF0000'"
colors3=$("$ctl" --emulator="$state" --direct colors show 3)
check "profile 3 shows the colours painted over the bus and nothing of the refused paints" \
    bash -c "grep -qi 'Caps Lock.*00FF00' <<<\"\$1\" && grep -qi '^Fn .*0000FF' <<<\"\$1\" && ! grep -qi '123456' <<<\"\$1\"" \
    _ "$colors3"

# The text, the bytes and the refusals over the bus are ombrelctl's.
check "Export over the bus is ombrelctl's export" cmp -s "$work/export-after.toml" \
    <("$ctl" --emulator="$state" --direct export -)
"$ctl" --emulator="$state" --direct backup "$work/direct.obp" >/dev/null
check "Backup over the bus is ombrelctl's backup file" cmp -s "$work/bus.obp" "$work/direct.obp"
direct=$("$ctl" --emulator="$state" --direct restore "$work/truncated.obp" 2>&1)
truncated_file="$work/truncated.obp"
check "a truncated backup is refused with ombrelctl's message" \
    test "$truncated" = "Call failed: ${direct/"$truncated_file"/the backup}"
history=$("$ctl" --emulator="$state" --direct history list)
# The Restore put back what the keyboard held, so it keeps no row of its own.
check "the write history keeps the state before Import, written by the program, and no row for the Restore" \
    bash -c "grep -q 'Ombrel \+Profile 2, Pause: factory function -> Key (A)$' <<<\"\$1\" && \
     ! grep -q 'no change$' <<<\"\$1\"" _ "$history"
check "Pause of profile 2 keeps the key A imported over the bus" \
    bash -c "'$ctl' --emulator='$state' --direct keymap show 2 | grep -qx 'Pause: Key (A)'"

echo "bus: $passed passed, $failed failed"
if ((failed > 0)); then
    echo "--- program monitor"
    tail -n 30 "$work/monitor.log"
    echo "--- dbus log"
    tail -n 20 "$work/dbus.log"
    exit 1
fi
