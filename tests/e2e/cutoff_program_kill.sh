#!/bin/bash
# The program killed (SIGKILL) during a write of the window's Restore of a keyboard file, on the emulator, then
# started again: when the keyboard holds part of the write, the window asks; Enter finishes the write, Alt+G goes
# back, and each leaves exactly the intended or the previous keyboard (compared through ombrelctl export and the
# emulator's memory). Run under an X server (scripts/with-xvfb).
#
# usage: cutoff_program_kill.sh OMBREL OMBRELCTL [POINTS] [SEED]
set -u
ombrel=$1
ombrelctl=$2
points=${3:-3}
seed=${4:-$(date +%s)}
RANDOM=$seed
here=$(dirname "$0")
source "$here/e2e_common.sh"
export OMBREL_STATE_LOCK_WAIT_MS=10000
mkfifo "$fifo"
ctl() { "$ombrelctl" --emulator="$state" "$@"; }
save() { rm -rf "$work/$1" && mkdir "$work/$1" && cp -a "$state" "$state.userdata" "$work/$1/"; }
load() { rm -rf "$state" "$state.userdata" && cp -a "$work/$1/$(basename "$state")" "$work/$1/$(basename "$state").userdata" "$work/"; }
start_program() {
    "$ombrel" --emulator="$state" --test-control="$fifo" >>"$work/program.log" 2>&1 &
    program=$!
    track "$program"
    until_ok 20 dump_has "tray 141" # the keyboard is there
}
stop_program() {
    kill "$program" 2>/dev/null
    wait "$program" 2>/dev/null
}
question() { fresh_dump && grep -q '^question .' "$dump"; }
no_question() { fresh_dump && grep -qx 'question ' "$dump"; }
dump_has_done() { fresh_dump && grep -Eq '^question The (write of .* is finished|keyboard is back)' "$dump"; }

{
    echo 'format = 1'
    echo '[[macros]]'
    echo 'id = 1'
    echo 'name = "Old"'
    echo 'steps = [{ press = "B", delay = 10 }, { release = "B" }]'
    for p in 1 2 3; do
        echo "[profile.$p.keys]"
        echo 'Esc = "macro:1"'
        echo "[profile.$p.patterns.1.colors]"
        echo 'Esc = "102030"'
    done
} >"$work/previous.toml"
{
    echo 'format = 1'
    for m in 1 2 3 4 5 6 7 8; do
        echo '[[macros]]'
        echo "id = $m"
        echo "name = \"New $m\""
        printf 'steps = ['
        for s in $(seq 1 30); do printf '{ press = "A", delay = %d0 }, { release = "A", delay = 10 }, ' "$s"; done
        echo '{ press = "C" }]'
    done
    for p in 1 2 3; do
        echo "[profile.$p.keys]"
        echo 'Esc = "macro:2"'
        echo 'F1 = "key:F2"'
        echo "[profile.$p.lighting]"
        echo "brightness = $((p + 1))"
        echo 'effect = 3'
        echo "[profile.$p.patterns.1.colors]"
        echo 'Esc = "0000FF"'
    done
} >"$work/write.toml"

ctl apply "$work/previous.toml" >/dev/null || { echo "FAIL the previous state"; exit 1; }
ctl export - >"$work/previous.export"
save previous
start=$(date +%s%N)
ctl apply "$work/write.toml" >/dev/null || { echo "FAIL the write"; exit 1; }
took_us=$((($(date +%s%N) - start) / 1000))
ctl export - >"$work/intended.export"
load previous

killed=0 asked=0 finished=0 undone=0
for point in $(seq 1 "$points"); do
    load previous
    start_program || { echo "FAIL the program does not start"; exit 1; }
    stretch=$((took_us / points))
    delay_us=$(((point - 1) * stretch + (RANDOM * 32768 + RANDOM) % stretch))
    echo "restore $work/write.toml" >"$fifo"
    sleep "$(printf "%d.%06d" $(((delay_us + ${EXTRA_US:-0}) / 1000000)) $(((delay_us + ${EXTRA_US:-0}) % 1000000)))"
    kill -KILL "$program"
    wait "$program" 2>/dev/null
    killed=$((killed + 1))
    save mix
    marked=$(ls "$state.userdata/history/"*.interrupted 2>/dev/null)
    ctl export - >"$work/now.export" 2>/dev/null
    if [[ -z $marked ]]; then
        check "point $point: without a record the keyboard is whole" \
            bash -c "cmp -s '$work/now.export' '$work/previous.export' || cmp -s '$work/now.export' '$work/intended.export'"
        continue
    fi
    # Not yet reached by the write: settled without a word (the ombrelctl run checks that case).
    cmp -s "$work/now.export" "$work/previous.export" && continue
    for answer in Return alt+g; do
        load mix
        start_program || { echo "FAIL the program does not start again"; exit 1; }
        check "point $point: the window asks about the cut-off write" until_ok 20 question
        sleep 0.5 # the box mapped and focused before the key goes to it
        xdotool key "$answer"
        # The message that says it is done, once the write is over; the program ends only after it.
        check "point $point: the answer is carried out" until_ok 30 dump_has_done
        xdotool key Return
        until_ok 10 no_question
        stop_program
        failed_before=$failed
        if [[ $answer == Return ]]; then
            check "point $point: Finish leaves the intended keyboard" cmp -s <(ctl export -) "$work/intended.export"
            ((failed == failed_before)) && finished=$((finished + 1))
        else
            check "point $point: Go back leaves the previous keyboard" cmp -s <(ctl export -) "$work/previous.export"
            ((failed == failed_before)) && undone=$((undone + 1))
        fi
    done
    asked=$((asked + 1))
done
echo "program killed: $killed; asked: $asked; finish right: $finished; go back right: $undone"
((failed == 0))
