# Sourced by the end-to-end scripts: a throw-away home and runtime folder, the processes started for a run ended
# with it, PASS/FAIL steps, waiting for a condition, and the program's own account of its window (--test-control).
work=$(mktemp -d)
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
state="$work/emulator.state"
fifo="$work/control"
dump="$work/dump"
pids=()
# started_at PID: the process's start time, so that a number the system has since given to another process (another
# test's X server, say) is never signalled at cleanup.
started_at() { cut -d ' ' -f 22 "/proc/$1/stat" 2>/dev/null; }
# track PID: ends the process with the run.
track() { pids+=("$1:$(started_at "$1")"); }
cleanup() {
    local entry
    for entry in "${pids[@]}"; do
        [[ -n ${entry#*:} && "$(started_at "${entry%%:*}")" == "${entry#*:}" ]] && kill "${entry%%:*}" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() { # check NAME COMMAND...: one step of the scenario
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "PASS $name"
    else
        failed=$((failed + 1))
        echo "FAIL $name"
        [[ -f "$dump" ]] && grep -v "^button " "$dump" | sed 's/^/    /'
    fi
}
# until_ok SECONDS COMMAND...: retries COMMAND every 50 ms until it succeeds or SECONDS pass.
until_ok() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS >= deadline)) && return 1
        sleep 0.05
    done
}
# The program's own account of its window (see --test-control in ombrel --help).
fresh_dump() {
    rm -f "$dump"
    echo "dump $dump" >"$fifo"
    until_ok 5 test -s "$dump"
}
dump_has() { fresh_dump && grep -qx "$1" "$dump"; }
