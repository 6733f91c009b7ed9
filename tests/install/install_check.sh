#!/usr/bin/env bash
# Installs the build into a temporary root and checks what the desktop, the manual and the shells will read there:
# the desktop entries, the metainfo, the icon sizes, the man pages (and that they name every command and option
# the programs offer), the completion, and that the installed programs find their libraries and data.
set -uo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export HOME="$root/home"
unset XDG_DATA_HOME XDG_CONFIG_HOME
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR="$root" cmake --install "$build" >/dev/null || { echo "FAIL: cmake --install" >&2; exit 1; }
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
autostart_dir=$(sed -n 's/^OMBREL_AUTOSTART_INSTALLED:INTERNAL=//p' "$build/CMakeCache.txt")
usr="$root$prefix"
share="$usr/share"

# Desktop entries and metainfo, as the desktop's own tools check them.
for entry in "$share/applications/ombrel.desktop" "$root$autostart_dir/ombrel.desktop"; do
    [[ -f $entry ]] || { fail "missing $entry"; continue; }
    out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate $entry: $out"
    [[ -z $out ]] || fail "desktop-file-validate $entry: $out"
done
grep -qx 'Hidden=true' "$root$autostart_dir/ombrel.desktop" || fail "the autostart entry is on for every user"
metainfo="$share/metainfo/io.github.ombrel.Ombrel.metainfo.xml"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
grep -q '@PROJECT_VERSION@' "$metainfo" && fail "metainfo version not filled in"

# The bus service: activation starts the installed program in the tray, under the name it owns, and the interface
# description is well-formed and names the interface the program serves.
service="$share/dbus-1/services/io.github.ombrel.Ombrel.service"
if [[ -f $service ]]; then
    grep -qx '\[D-BUS Service\]' "$service" || fail "$service has no [D-BUS Service] group"
    grep -qx 'Name=io.github.ombrel.Ombrel' "$service" || fail "$service names another bus name"
    grep -qx "Exec=$prefix/bin/ombrel /Start" "$service" || fail "$service does not start $prefix/bin/ombrel /Start"
else
    fail "missing $service"
fi
interface="$share/dbus-1/interfaces/io.github.ombrel.Keyboard1.xml"
if [[ -f $interface ]]; then
    python3 -c 'import sys, xml.etree.ElementTree as t; n = t.parse(sys.argv[1]).getroot(); sys.exit(0 if n.find("interface[@name=\"io.github.ombrel.Keyboard1\"]") is not None else 1)' "$interface" ||
        fail "$interface is not a description of io.github.ombrel.Keyboard1"
else
    fail "missing $interface"
fi

# The KWin script where KWin looks for scripts, under its id, with the main script its metadata names.
kwin="$share/kwin/scripts/ombrel-follow-application"
python3 -c 'import json, os, sys; m = json.load(open(os.path.join(sys.argv[1], "metadata.json"))); sys.exit(0 if m["KPlugin"]["Id"] == os.path.basename(sys.argv[1]) and os.path.isfile(os.path.join(sys.argv[1], "contents", m["X-Plasma-MainScript"])) else 1)' "$kwin" 2>/dev/null ||
    fail "the KWin script is not installed as $kwin with its main script"

# Icons: each size a PNG of that many pixels, and the scalable one an SVG.
for size in 16 22 24 32 48 64 128 256 512; do
    icon="$share/icons/hicolor/${size}x${size}/apps/ombrel.png"
    [[ -f $icon ]] || { fail "missing $icon"; continue; }
    width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4}')
    height=$(od -An -tu1 -j20 -N4 "$icon" | awk '{print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4}')
    [[ $width == "$size" && $height == "$size" ]] || fail "$icon is ${width}x${height}"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/ombrel.svg" || fail "no scalable icon"

# Man pages: rendered without a warning, and naming every command and option the programs' help lists.
ctl="$usr/bin/ombrelctl"
gui="$usr/bin/ombrel"
for page in ombrel.1 ombrelctl.1 ombrel-keyboard.5; do
    file="$share/man/man${page##*.}/$page.gz"
    [[ -f $file ]] || { fail "missing $file"; continue; }
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "man $page: $warnings"
done
# The page as a reader sees it, with groff's hyphens and minus signs as the ASCII ones typed on a command line.
render() { LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$1" 2>/dev/null | sed 's/[‐−]/-/g'; }
ctl_page=$(render "$share/man/man1/ombrelctl.1.gz")
gui_page=$(render "$share/man/man1/ombrel.1.gz")
commands=$("$ctl" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\( [a-z][a-z-]*\)\{0,1\}\).*/\1/p' |
    sed 's/ [A-Z[].*//')
[[ -n $commands ]] || fail "no commands read from ombrelctl --help"
while read -r command; do
    grep -q -- "^       $command\b" <<<"$ctl_page" || fail "ombrelctl(1) does not describe '$command'"
done <<<"$commands"
for option in $("$ctl" --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -q -- "$option" <<<"$ctl_page" || fail "ombrelctl(1) does not describe $option"
done
for option in $("$gui" --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -q -- "$option" <<<"$gui_page" || fail "ombrel(1) does not describe $option"
done
for code in 0 1 2 3 4; do
    grep -q "^       $code\b" <<<"$ctl_page" || fail "ombrelctl(1) does not list exit status $code"
done
for code in 0 1 2; do
    grep -q "^       $code\b" <<<"$gui_page" || fail "ombrel(1) does not list exit status $code"
done

# Completion: bash completes commands, second words, profiles and functions from the installed program.
bash_completion="$share/bash-completion/completions/ombrelctl"
complete_bash() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _ombrelctl; printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$bash_completion" "$ctl" "$@" 2>&1 | sort | tr '\n' ' '
}
[[ $(complete_bash key) == "keymap " ]] || fail "bash: 'key' completes to '$(complete_bash key)'"
[[ $(complete_bash keymap "") == "reset set show " ]] || fail "bash: 'keymap' offers '$(complete_bash keymap "")'"
[[ $(complete_bash keymap set "") == "1 2 3 " ]] || fail "bash: profiles are '$(complete_bash keymap set "")'"
[[ $(complete_bash keymap set 1 A st) == "stop-macro " ]] || fail "bash: functions '$(complete_bash keymap set 1 A st)'"
[[ $(complete_bash keymap set 1 CapsL) == "CapsLock " ]] || fail "bash: keys '$(complete_bash keymap set 1 CapsL)'"
[[ $(complete_bash keymap set 1 A media:Play) == "Play/Pause " ]] ||
    fail "bash: media names '$(complete_bash keymap set 1 A media:Play)'"
[[ $(complete_bash names "") == "functions keyboard keys media mouse " ]] || fail "bash: names '$(complete_bash names "")'"
[[ $(complete_bash --tr) == "--trace " ]] || fail "bash: options '$(complete_bash --tr)'"
zsh -n "$share/zsh/"*"/_ombrelctl" || fail "zsh completion does not parse"
fish -n "$share/fish/vendor_completions.d/ombrelctl.fish" || fail "fish completion does not parse"
fish_out=$(PATH="$usr/bin:$PATH" fish -c "source $share/fish/vendor_completions.d/ombrelctl.fish; complete -C 'ombrelctl keymap s'" 2>&1)
grep -q '^set' <<<"$fish_out" && grep -q '^show' <<<"$fish_out" || fail "fish: 'keymap s' offers '$fish_out'"
fish_keys=$(PATH="$usr/bin:$PATH" fish -c "source $share/fish/vendor_completions.d/ombrelctl.fish; complete -C 'ombrelctl keymap set 1 CapsL'" 2>&1)
grep -q '^CapsLock' <<<"$fish_keys" || fail "fish: 'keymap set 1 CapsL' offers '$fish_keys'"

# The installed programs find their service library, data and skin.
out=$("$ctl" --emulator info 2>&1) || fail "installed ombrelctl --emulator info: $out"
"$gui" --help >/dev/null || fail "installed ombrel --help"

exit $((failures > 0))
