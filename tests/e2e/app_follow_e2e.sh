#!/usr/bin/env bash
# End-to-end: the keyboard follows the application in front. The real program runs on the emulated keyboard under
# X (DISPLAY from scripts/with-xvfb) with openbox as the window manager and a private session bus; the application
# rules file is written in the test's home. Three xterms with their own WM_CLASS are activated with xdotool, and after
# each activation ombrelctl reads the keyboard's profile through the program. Checked: the rules and the default,
# no report at all when the profile is already right, the tray's tooltip and PropertiesChanged, an unapplied edit that
# holds the switch back until Apply (the latest application wins), the rules read again when the file is replaced,
# and the desktop's own report over the bus (ApplicationActivated, as KWin's script sends it).
#   app_follow_e2e.sh OMBREL OMBRELCTL
set -uo pipefail
ombrel=$1
ctl=$2
for tool in xdotool xterm openbox dbus-daemon dbus-monitor busctl; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed (scripts/install-deps installs it)"; exit 1; }
done

# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
unset WAYLAND_DISPLAY
export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
service=io.github.ombrel.Ombrel
path=/io/github/ombrel/Ombrel/Keyboard
iface=io.github.ombrel.Keyboard1
rules="$XDG_CONFIG_HOME/ombrel/application-profiles.toml"

cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$XDG_RUNTIME_DIR/bus</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
dbus-daemon --config-file="$work/bus.conf" --nofork >"$work/dbus.log" 2>&1 &
track $!
until_ok 10 test -S "$XDG_RUNTIME_DIR/bus" || { echo "FAIL the private session bus starts"; exit 1; }

openbox --sm-disable >/dev/null 2>&1 &
track $!
until_ok 10 xdotool search --class openbox >/dev/null || sleep 1

# write_rules TEXT: replaces the rules file as the safe writer does (a new file renamed over the old one).
write_rules() {
    mkdir -p "$(dirname "$rules")"
    printf '%s\n' "$1" >"$rules.new" && mv "$rules.new" "$rules"
}
write_rules 'default-profile = 1
[[rule]]
application = "FooGame"
profile = 3
[[rule]]
application = "bartool"
profile = 2'

mkfifo "$fifo"
"$ombrel" --emulator="$state" --test-control="$fifo" /Start >"$work/program.log" 2>&1 &
program=$!
track "$program"
check "the program starts with the keyboard attached" until_ok 20 dump_has "ready 1"
check "it follows the X server's active window with the two rules" until_ok 10 dump_has "follow 2 1 0 0 0"

dbus-monitor --session "type='signal',interface='org.freedesktop.DBus.Properties',member='PropertiesChanged'" \
    >"$work/monitor.log" 2>&1 &
track $!
until_ok 20 grep -q NameAcquired "$work/monitor.log"

# Three X programs: a game, a tool (named in the rules by its class in another case) and one no rule names.
start_client() { # start_client CLASS: an xterm with that WM_CLASS class; prints its window
    xterm -class "$1" -title "$1" -e sleep 600 >/dev/null 2>&1 &
    track $!
    xdotool search --sync --limit 1 --class "^$1\$" 2>/dev/null
}
game=$(start_client FooGame)
tool=$(start_client BarTool)
other=$(start_client Other)
check "the three X programs have windows" test -n "$game" -a -n "$tool" -a -n "$other"

# What the rules page offers: the X programs by WM_CLASS, process and title, the program's own window left out.
echo "running $work/running" >"$fifo"
until_ok 5 test -s "$work/running"
check "the running applications list the game by class, instance, process and title" \
    grep -qx 'app FooGame xterm xterm  FooGame' "$work/running"
# The window manager may list a just-mapped window a moment later: ask again until it is there.
others_listed() {
    echo "running $work/running" >"$fifo"
    sleep 0.2
    test "$(grep -c -e '^app BarTool ' -e '^app Other ' "$work/running")" = 2
}
check "and the other two" until_ok 10 others_listed
check "but not the program's own window" bash -c "! grep -qi '^app ombrel' '$work/running'"

keyboard_profile() { "$ctl" --emulator="$state" profile get 2>&1; }
profile_is() { [[ "$(keyboard_profile)" == "$1" ]]; }
field() { fresh_dump >/dev/null && awk -v k="$1" -v f="$2" '$1 == k { print $(f) }' "$dump"; }
reports() { field reports 2; }
activations() { field follow 4; }
switches() { field follow 5; }
activate() { xdotool windowactivate --sync "$1" >/dev/null 2>&1; }

activate "$game"
check "the game in front: the keyboard switches to its profile 3" until_ok 10 profile_is 3
check "the window shows profile 3" until_ok 10 dump_has "profile 3"
check "the tray's tooltip names the profile" until_ok 10 grep -q '^tray-tip .* | Profile: .*3' "$dump"
check "PropertiesChanged announced profile 3" until_ok 10 bash -c \
    "grep -A3 -F '\"ActiveProfile\"' '$work/monitor.log' | grep -q 'uint32 3'"
activate "$tool"
check "the tool in front (its rule in another case): profile 2" until_ok 10 profile_is 2
activate "$other"
check "an application no rule names: the default profile 1" until_ok 10 profile_is 1

# Already right: a second application with the default profile sends nothing at all to the keyboard.
until_ok 10 profile_is 1
before=$(reports)
made=$(switches)
seen=$(activations)
xterm -class Another -e sleep 600 >/dev/null 2>&1 &
track $!
another=$(xdotool search --sync --limit 1 --class '^Another$' 2>/dev/null)
activate "$another"
check "the activation is seen" until_ok 10 bash -c "echo dump $dump >$fifo; sleep 0.1; awk '\$1 == \"follow\" && \$4 == $((seen + 1))' $dump | grep -q ."
check "the profile already right: no switch" test "$(switches)" = "$made"
check "the profile already right: not one report sent to the keyboard" test "$(reports)" = "$before"
# The program's own window in front changes nothing either.
"$ombrel" --emulator="$state" >/dev/null 2>&1 # a second start shows the running window
check "the program's window opens" until_ok 10 dump_has "visible 1"
ombrel_window=$(xdotool search --sync --limit 1 --pid "$program" --onlyvisible 2>/dev/null | head -n 1)
activate "$ombrel_window"
sleep 1
check "the program's own window in front is no activation" test "$(activations)" = "$((seen + 1))"

# A pending edit in the window holds the switch back; the latest application wins once the edit is applied.
echo edit >"$fifo"
check "the window holds an unapplied edit" until_ok 10 dump_has "apply 1"
activate "$game"
activate "$tool"
sleep 1
check "the switch waits while the edit is unapplied" test "$(field follow 5) $(field follow 6)" = "$made 1"
check "and the keyboard keeps profile 1" profile_is 1
button_field() { awk -v k="$1" -v f="$2" -v kind="${3:-button}" '$1 == kind && $2 == k { print $(f) }' "$dump"; }
click_button() { # click_button SKINKEY [KIND]: a button of the window, or with KIND dbutton one of its dialog
    fresh_dump || return 1
    local x y w h
    x=$(button_field "$1" 5 "${2:-button}") y=$(button_field "$1" 6 "${2:-button}")
    w=$(button_field "$1" 7 "${2:-button}") h=$(button_field "$1" 8 "${2:-button}")
    [[ -n "$x" ]] || return 1
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}
activate "$ombrel_window"
click_button CONTROL2_APPLY
check "Apply writes the edit" until_ok 20 dump_has "apply 0"
check "then the held-back switch follows the latest application: profile 2" until_ok 10 profile_is 2
check "one switch for the two activations" test "$(switches)" = "$((made + 1))"

# The key dialog open holds the switch back too; it follows once the dialog is closed.
raise_program() { local w; for w in $(xdotool search --pid "$program" --onlyvisible 2>/dev/null); do activate "$w"; done; }
activate "$ombrel_window"
click_button KEY_03A
check "a click on a key opens its dialog" until_ok 10 dump_has "composite 1"
seen=$(activations)
activate "$game"
until_ok 10 bash -c "echo dump $dump >$fifo; sleep 0.1; awk '\$1 == \"follow\" && \$4 == $((seen + 1))' $dump | grep -q ."
sleep 0.5
check "the switch waits while the key dialog is open" test "$(field follow 6)" = 1
check "and the keyboard keeps profile 2" profile_is 2
raise_program
click_button CONTROL_CANCEL dbutton
check "Cancel closes the key dialog" until_ok 10 dump_has "composite 0"
check "then the held-back switch follows the game: profile 3" until_ok 10 profile_is 3

# The rules are read again when the file is replaced: the game now has profile 1, the default is 3.
write_rules 'default-profile = 3
[[rule]]
application = "foogame"
profile = 1'
check "the replaced rules file is read again" until_ok 10 bash -c "echo dump $dump >$fifo; sleep 0.1; grep -q '^follow 1 1 ' $dump"
activate "$game"
check "the game follows the new rule: profile 1" until_ok 10 profile_is 1
activate "$tool"
check "the tool has no rule now: the new default 3" until_ok 10 profile_is 3

# The desktop's report over the bus, as the KWin script sends it on Wayland.
call() { busctl --user call "$service" "$path" "$iface" ApplicationActivated s "$1" 2>&1; }
check "ApplicationActivated FooGame.desktop: the game's profile 1" call FooGame.desktop
check "the keyboard holds profile 1" until_ok 10 profile_is 1
check "ApplicationActivated of an unknown id: the default 3" call org.example.Unknown
check "the keyboard holds profile 3" until_ok 10 profile_is 3
before=$(reports)
made=$(switches)
call org.example.Other >/dev/null
sleep 1
check "ApplicationActivated with the profile already right sends no report" test "$(reports)" = "$before"
bad=$(call "")
check "an empty id is InvalidArgument" grep -q 'io.github.ombrel.Error.InvalidArgument\|application is empty' <<<"$bad"
bad=$(call "$(printf 'x%.0s' {1..256})")
check "an id over 255 bytes is InvalidArgument" grep -q 'longer than 255' <<<"$bad"
check "refused ids switch nothing" test "$(switches)" = "$made"

# No rules: nothing is watched any more.
rm -f "$rules"
check "without the rules file the follower is off" until_ok 10 bash -c "echo dump $dump >$fifo; sleep 0.1; grep -q '^follow 0 0 ' $dump"
activate "$game"
sleep 1
check "and nothing switches" profile_is 3

echo "app follow: $passed passed, $failed failed"
((failed == 0))
