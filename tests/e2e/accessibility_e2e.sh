#!/usr/bin/env bash
# What a screen reader hears: the real program on the emulated keyboard under X (DISPLAY set by
# scripts/with-xvfb), read through AT-SPI, the interface Orca uses, by pyatspi. A private session bus and the
# accessibility bus (at-spi-bus-launcher) are started for it; accessibility_check.py walks the main window and the
# key dialog and checks every control's role, name, states and slider values.
#   accessibility_e2e.sh OMBREL DATA_DIR
set -uo pipefail
ombrel=$1
data=$2
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [[ -x "$candidate" ]] && launcher=$candidate && break
done
[[ -n "$launcher" ]] || { echo "accessibility: at-spi-bus-launcher is missing (scripts/install-deps installs at-spi2-core)"; exit 1; }
command -v dbus-daemon >/dev/null || { echo "accessibility: dbus-daemon is missing (install dbus)"; exit 1; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "accessibility: pyatspi is missing (install python3-pyatspi)"; exit 1; }

# shellcheck source=e2e_common.sh
source "$(dirname "$0")/e2e_common.sh"
# The window speaks English here, whatever the machine's language.
export LANG=C.UTF-8 LC_ALL=C.UTF-8 LANGUAGE=

# The X server must answer before anything here depends on it; if it does not, say what the system shows of it.
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "accessibility: the X server on $DISPLAY does not answer"
    ls -la /tmp/.X11-unix
    grep -a X11 /proc/net/unix
    pgrep -a Xvfb
    exit 1
fi
dbus-daemon --session --fork --address="unix:path=$XDG_RUNTIME_DIR/bus" --print-pid >"$work/dbus.pid" || exit 1
track "$(cat "$work/dbus.pid")"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
"$launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
track $!
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
"$ombrel" --emulator="$work/emulator.state" >"$work/program.log" 2>&1 &
track $!

/usr/bin/python3 "$(dirname "$0")/accessibility_check.py" "$data/Lang0409.ini"
status=$?
if [[ $status -ne 0 ]]; then
    echo "--- program output"
    cat "$work/program.log"
fi
exit $status
