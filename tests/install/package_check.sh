#!/usr/bin/env bash
# Builds the Debian package the way `make package-deb` does, unpacks it into a throw-away root (dpkg -x) and runs
# the installed programs and manual from there. build-deb works on the default build tree: afterwards that tree
# must be configured exactly as before (its install prefix and compiler launcher), so `make test` and `make run`
# keep working.
set -uo pipefail
source=$1
build="$source/build"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export HOME="$root/home"
unset XDG_DATA_HOME XDG_CONFIG_HOME
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
settings() { grep -E '^(CMAKE_INSTALL_PREFIX|CMAKE_(C|CXX)_COMPILER_LAUNCHER)[:=]' "$build/CMakeCache.txt" | sort; }

before=$(settings)
out=$(env -u CMAKE_CXX_COMPILER_LAUNCHER -u CMAKE_C_COMPILER_LAUNCHER "$source/scripts/build-deb" 2>&1) ||
    fail "build-deb (lintian included): $out"
[[ $(settings) == "$before" ]] || fail "build-deb left the build tree configured otherwise: $(settings) (was $before)"
deb=$(ls "$build"/ombrel_*_amd64.deb 2>/dev/null | head -n 1)
[[ -n $deb ]] || { fail "no package in $build"; exit 1; }
dpkg-deb -x "$deb" "$root" || fail "dpkg -x $deb"

usr="$root/usr"
version=$(dpkg-deb --field "$deb" Version)
out=$("$usr/bin/ombrel" --version 2>&1) || fail "installed ombrel --version: $out"
grep -q "${version%%-*}" <<<"$out" || fail "ombrel --version says '$out', the package is $version"
state="$root/state"
out=$("$usr/bin/ombrelctl" --emulator="$state" info 2>&1) || fail "installed ombrelctl info: $out"
grep -q 'Firmware version' <<<"$out" || fail "ombrelctl info says '$out'"
out=$("$usr/bin/ombrelctl" --emulator="$state" keymap set 1 CapsLock key:Escape 2>&1) || fail "keymap set: $out"
out=$("$usr/bin/ombrelctl" --emulator="$state" keymap show 1 2>&1) || fail "keymap show: $out"
grep -q '^Caps Lock: Key (Esc)$' <<<"$out" || fail "the change was not kept: $out"
for page in ombrel ombrelctl; do
    file="$usr/share/man/man1/$page.1.gz"
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 >/dev/null) || fail "man $page: $out"
    [[ -z $out ]] || fail "man $page: $out"
    LC_ALL=C.UTF-8 man -E UTF-8 -l "$file" 2>/dev/null | grep -q "$page" || fail "man $page shows nothing"
done
exit $((failures > 0))
