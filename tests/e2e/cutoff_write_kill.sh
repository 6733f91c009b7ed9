#!/bin/bash
# A write killed halfway and the next start: ombrelctl apply is killed with SIGKILL at random moments of a write
# that changes macros, the key functions of all three profiles, lighting and colours, on the emulator (its state
# file keeps the keyboard from one process to the next). After every kill a read-only command must either find the
# keyboard whole (all of the write or none of it, the record settled without a word) or name the cut-off write;
# then both answers are tried on copies: history finish must leave exactly the intended keyboard, history restore
# exactly the previous one (the export and the emulator's memory compared).
#
# usage: cutoff_write_kill.sh OMBRELCTL [POINTS] [SEED]
set -u
ctl_bin=$1
points=${2:-5}
seed=${3:-$(date +%s)}
RANDOM=$seed

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/statehome XDG_CONFIG_HOME=$work/config
export OMBREL_STATE_LOCK_WAIT_MS=10000
mkdir -p "$HOME"
state=$work/state
ctl() { "$ctl_bin" --emulator="$state" "$@"; }
fail() {
    echo "FAIL (seed $seed, point $point): $*" >&2
    exit 1
}
# Whether the emulator's memory in state file $1 is that of $2: every area alike, the macro memory up to the end
# of $2's macros (what lies past them is left over from longer macros written before, which nothing reads).
same_memory() {
    python3 - "$1" "$2" <<'PY'
import struct, sys
def areas(path):
    data = open(path, "rb").read()
    count, at, out = struct.unpack_from("<H", data, 10)[0], 12, {}
    for _ in range(count):
        area, _, length = struct.unpack_from("<HHI", data, at)
        out[area] = data[at + 8 : at + 8 + length]
        at += 8 + length
    return out
got, want = areas(sys.argv[1]), areas(sys.argv[2])
macros = 3
used = len(want[macros].rstrip(b"\0"))
same = got.keys() == want.keys() and all(
    got[a][:used] == want[a][:used] if a == macros else got[a] == want[a] for a in want)
sys.exit(0 if same else 1)
PY
}
save() { rm -rf "$work/$1"; mkdir "$work/$1" && cp -a "$state" "$state.userdata" "$work/$1/"; }
load() { rm -rf "$state" "$state.userdata" && cp -a "$work/$1/state" "$work/$1/state.userdata" "$work/"; }

# The previous state, and the write: every profile's keys, new macros, lighting and colours. The previous state
# names every profile's colours: a factory keyboard's per-key colours cannot be read back, so only colours the
# program wrote itself can be put back byte for byte.
cat >"$work/previous.toml" <<'TOML'
format = 1
[[macros]]
id = 1
name = "Old"
steps = [{ press = "B", delay = 10 }, { release = "B" }]
[profile.1.keys]
Esc = "macro:1"
[profile.2.lighting]
brightness = 1
[profile.1.patterns.1.colors]
Esc = "102030"
[profile.2.patterns.1.colors]
Esc = "102030"
[profile.3.patterns.1.colors]
Esc = "102030"
TOML
{
    echo 'format = 1'
    for m in 1 2 3 4 5 6 7 8 9 10 11 12; do
        echo '[[macros]]'
        echo "id = $m"
        echo "name = \"New $m\""
        printf 'steps = ['
        for s in $(seq 1 40); do printf '{ press = "A", delay = %d0 }, { release = "A", delay = 10 }, ' "$s"; done
        echo '{ press = "C" }]'
    done
    for p in 1 2 3; do
        echo "[profile.$p.keys]"
        echo 'Esc = "macro:2"'
        echo 'F1 = "key:F2"'
        echo 'Z = "disabled"'
        echo 'RCtrl = "macro:12"'
        echo "[profile.$p.lighting]"
        echo "brightness = $((p + 1))"
        echo 'effect = 3'
        echo "[profile.$p.patterns.1.colors]"
        echo 'Esc = "0000FF"'
        echo 'A = "FFFFFF"'
    done
} >"$work/write.toml"

point=setup
ctl apply "$work/previous.toml" >/dev/null || fail "the previous state cannot be applied"
ctl export - >"$work/previous.export" || fail "export"
save previous
start=$(date +%s%N)
ctl apply "$work/write.toml" >/dev/null || fail "the write cannot be applied"
took_us=$((($(date +%s%N) - start) / 1000))
ctl export - >"$work/intended.export" || fail "export"
cp "$state" "$work/intended.memory"
load previous
cmp -s "$work/previous.export" "$work/intended.export" && fail "the write changes nothing"

killed=0 found=0 mixes=0 unsure=0 whole=0 finished=0 undone=0
for point in $(seq 1 "$points"); do
    load previous
    # A moment within the whole run of the command (reading, keeping the record, writing, or after), one in each
    # of `points` equal stretches of it, so a short run reaches the writes too.
    stretch=$((took_us / points))
    delay_us=$(((point - 1) * stretch + (RANDOM * 32768 + RANDOM) % stretch))
    "$ctl_bin" --emulator="$state" apply "$work/write.toml" >/dev/null 2>&1 &
    pid=$!
    sleep "$(printf '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000)))"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    killed=$((killed + 1))
    history=$state.userdata/history
    marked=$(ls "$history"/*.interrupted 2>/dev/null | tail -n 1)
    save mix

    # The next start: a read-only command.
    ctl export - >"$work/now.export" 2>"$work/now.err" || fail "export after the kill: $(cat "$work/now.err")"
    if grep -q 'was cut off' "$work/now.err"; then
        [ -n "$marked" ] || fail "a cut-off write was named without a record"
        grep -q 'ombrelctl history finish' "$work/now.err" || fail "finish not named: $(cat "$work/now.err")"
        number=$(sed -n 's/.*ombrelctl history restore \([0-9]*\).*/\1/p' "$work/now.err")
        cmp -s "$work/now.export" "$work/previous.export" && fail "named a write the keyboard holds none of"
        # Files that hold all of the write do not show that the keyboard got its per-key colours (it cannot give
        # them back), so such a write is named too.
        cmp -s "$work/now.export" "$work/intended.export" && unsure=$((unsure + 1))
        found=$((found + 1))
        mixes=$((mixes + 1))
        save named
        ctl history finish >/dev/null 2>"$work/err" || fail "history finish: $(cat "$work/err")"
        cmp -s <(ctl export -) "$work/intended.export" || fail "history finish did not leave the intended keyboard"
        same_memory "$state" "$work/intended.memory" || fail "history finish: the memory differs from a whole write's"
        finished=$((finished + 1))
        load named
        ctl history restore "$number" >/dev/null 2>"$work/err" || fail "history restore $number: $(cat "$work/err")"
        cmp -s <(ctl export -) "$work/previous.export" || fail "history restore did not leave the previous keyboard"
        same_memory "$state" "$work/previous/state" || fail "history restore: the memory differs from before the write"
        undone=$((undone + 1))
    else
        [ -s "$work/now.err" ] && fail "unexpected messages: $(cat "$work/now.err")"
        [ -n "$marked" ] && found=$((found + 1))
        if cmp -s "$work/now.export" "$work/previous.export" || cmp -s "$work/now.export" "$work/intended.export"; then
            whole=$((whole + 1))
        else
            fail "the keyboard holds a mix and nothing said so"
        fi
        [ -z "$(ls "$history"/*.interrupted 2>/dev/null)" ] || fail "a record stays marked after a whole keyboard"
    fi
done
echo "points killed: $killed (a write of $((took_us / 1000)) ms, seed $seed)"
echo "records found: $found (named: $mixes, of them $unsure with colours the keyboard cannot confirm;" \
    "settled without a word: $((found - mixes)); killed before or after the record: $((killed - found)))"
echo "answers: finish right $finished of $mixes, go back right $undone of $mixes"
