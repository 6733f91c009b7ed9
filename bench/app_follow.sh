#!/usr/bin/env bash
# The keyboard following the application in front, on the emulator under Xvfb with openbox:
#  - latency: two X programs with rules for profiles 2 and 3 are activated in turn with xdotool, SWITCHES times
#    (default 100); for each switch the program says how long it took from the X event to the keyboard holding the
#    profile (the read of the event, and the X server's own time of the change), and the median and 90th percentile
#    are printed with the emulated keyboard's share (two reports of 1 ms: the configuration read and written back);
#  - CPU: the program's CPU over SECONDS (default 60) with no rules, then with the rules while the front
#    application changes every second (every change a switch), as a share of one core.
#   bench/app_follow.sh [SWITCHES] [SECONDS]        (run from the source tree after a build)
set -uo pipefail
cd "$(dirname "$0")/.."
switches=${1:-100}
seconds=${2:-60}
ombrel=$PWD/build/bin/ombrel
if [[ -z "${DISPLAY:-}" ]]; then exec scripts/with-xvfb "$0" "$@"; fi

work=$(mktemp -d)
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/ombrel" && chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT
rules="$XDG_CONFIG_HOME/ombrel/application-profiles.toml"
fifo="$work/control"
dump="$work/dump"

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1
window_of() {
    xterm -class "$1" -e sleep 100000 >/dev/null 2>&1 &
    pids+=($!)
    xdotool search --sync --limit 1 --class "^$1\$" 2>/dev/null
}
a=$(window_of BenchA)
b=$(window_of BenchB)

mkfifo "$fifo"
# The emulator keeps its memory for this run only: with a state file it saves (and syncs) the file after every
# profile write before it answers, which a keyboard does not do and which would be measured as the switch.
"$ombrel" --emulator --test-control="$fifo" /Start >"$work/program.log" 2>&1 &
program=$!
pids+=("$program")
field() { # field KEY N: a field of the program's account of itself
    rm -f "$dump"
    echo "dump $dump" >"$fifo"
    for _ in $(seq 100); do [[ -s $dump ]] && break; sleep 0.02; done
    awk -v k="$1" -v n="$2" '$1 == k { print $(n) }' "$dump"
}
until [[ "$(field ready 2)" == 1 ]]; do sleep 0.2; done
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
cpu() { # cpu NAME T0 T1
    awk -v n="$1" -v d=$(($3 - $2)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
        'BEGIN { printf "%-46s CPU %.2f %% of a core over %d s\n", n, 100 * d / hz / s, s }'
}
# switch_every_second: the front application changes every second while SECONDS pass.
switch_every_second() {
    local i
    for ((i = 0; i < seconds; i++)); do
        if ((i % 2)); then xdotool windowactivate "$a"; else xdotool windowactivate "$b"; fi
        sleep 1
    done
}

# Without rules nothing is followed: the baseline.
t0=$(ticks "$program")
switch_every_second
cpu "no rules, front application changing each second" "$t0" "$(ticks "$program")"

printf 'default-profile = 1\n[[rule]]\napplication = "BenchA"\nprofile = 2\n[[rule]]\napplication = "BenchB"\nprofile = 3\n' \
    >"$rules.new" && mv "$rules.new" "$rules"
until [[ "$(field follow 2)" == 2 ]]; do sleep 0.1; done

: >"$work/latency"
done_switches=$(field follow 5)
for ((i = 0; i < switches; i++)); do
    if ((i % 2)); then xdotool windowactivate "$a"; else xdotool windowactivate "$b"; fi
    for _ in $(seq 200); do
        now=$(field follow 5)
        [[ -n $now && $now -gt $done_switches ]] && break
    done
    done_switches=$now
    field follow-latency 2 >/dev/null
    awk '$1 == "follow-latency" { print $3, $4, $5, $2 }' "$dump" >>"$work/latency"
done
sort -n -k1,1 "$work/latency" | awk -v n="$switches" '
    { us[NR] = $1; ms[NR] = $2 }
    END {
        if (NR == 0) { print "no switch was measured"; exit 1 }
        m = int((NR + 1) / 2); p = int(NR * 0.9 + 0.5); if (p < 1) p = 1
        printf "switches measured: %d of %d\n", NR, n
        printf "from reading the X event to the profile report taken by the keyboard: median %.2f ms, 90th percentile %.2f ms\n",
               us[m] / 1000, us[p] / 1000
    }'
sort -n -k2,2 "$work/latency" | awk '{ ms[NR] = $2 } END { m = int((NR + 1) / 2);
    printf "from the X server'"'"'s time of the change (1 ms steps): median %d ms\n", ms[m] }'
sort -n -k4,4 "$work/latency" | awk '{ us[NR] = $4 } END { m = int((NR + 1) / 2); p = int(NR * 0.9 + 0.5);
    printf "of that, the follower itself (event read, window identified, rules matched, switch asked for): median %.2f ms, 90th percentile %.2f ms\n", us[m] / 1000, us[p] / 1000 }'
echo "the rest is the switch a click makes: the configuration read and written back (2 reports x 1 ms of the"
echo "emulated keyboard)"
sort -n -k3,3 "$work/latency" | awk '{ us[NR] = $3 } END { m = int((NR + 1) / 2);
    printf "until the window has shown the new profile (map and lighting read again, as after a click): median %.2f ms\n", us[m] / 1000 }'

t0=$(ticks "$program")
switch_every_second
cpu "rules on, a switch every second" "$t0" "$(ticks "$program")"
echo "switches made in all: $(field follow 5)"
