#!/usr/bin/env bash
# The completion of ombrelctl as bash, zsh and fish themselves run it: each shell completes the same command lines,
# offering exactly what the command takes, and every key it offers for KEY is one `keymap set` accepts.
set -uo pipefail
source=$1
bin=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" PATH="$bin:$PATH"
unset XDG_DATA_HOME XDG_CONFIG_HOME
completion="$source/dist/completion"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Each prints the candidates for the words after "ombrelctl", the last one being completed, one a line, sorted.
complete_bash() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _ombrelctl; printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$completion/ombrelctl.bash" ombrelctl "$@" 2>&1 | grep -v '^$' | sort -u
}
# zsh's completion builtins only exist inside the line editor, so functions stand in for them and collect what
# the completion function adds; the completion code itself is zsh's.
complete_zsh() {
    zsh -f -c '
        file=$1; shift
        compadd() { local -a add; while (( $# )); do case $1 in -S) shift 2 ;; --) shift; add+=("$@"); break ;;
                    -*) shift ;; *) add+=("$1"); shift ;; esac; done; print -l -- ${(M)add:#${PREFIX}*} }
        compset() { [[ $1 == -P ]] && PREFIX=${PREFIX#${~2}} }
        _files() { print -- "(files)" }
        words=(ombrelctl "$@"); CURRENT=${#words}; PREFIX=${words[-1]}
        source $file' _ "$completion/_ombrelctl" "$@" 2>&1 | grep -v '^$' | sort -u
}
complete_fish() {
    local line="ombrelctl $*"
    fish -c "source $completion/ombrelctl.fish; complete -C '$line'" 2>&1 | cut -f1 | sed 's/^.*://' | grep -v '^$' |
        sort -u
}

commands=$(ombrelctl --help | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\).*/\1/p' | sort -u | tr '\n' ' ')
# words | what must be offered (all of it, exactly, or "has:" a part of it) | what must not be (fish also offers
# names that merely contain the letters typed, so only the refused ones are checked where that matters)
cases=(
    "|exact:$commands|get set show list reset paint slot base boot"
    "keymap |exact:reset set show |"
    "profile |exact:get list set |"
    "names |exact:functions keyboard keys media mouse |"
    "keymap set |exact:1 2 3 |"
    "keymap set 1 CapsL|exact:CapsLock |"
    "keymap set 1 Calc||Calculator"
    "keymap set 1 Mu||Mute"
    "keymap set 1 Pow||Power"
    "keymap set 1 SysR||SysRq"
    "keymap set 1 G1|has:G1 G1B|"
    "colors paint 1 G|exact:G |G1 G1B G9"
    "colors paint 1 F|has:Fn F1 F12|"
    "keymap set 1 A st|exact:stop-macro |"
    "lighting set 1 |exact:brightness color colorful direction effect four-color report-rate speed |"
    "firmware boot |exact:--backup --no-backup |"
    "rules |exact:add default list remove |"
    "rules default |exact:1 2 3 |"
    "rules add steam_app_570 |exact:1 2 3 |"
    "rules add steam_app_570 2 |exact:--position |"
)
for shell in bash zsh fish; do
    for c in "${cases[@]}"; do
        IFS='|' read -r line want refused <<<"$c"
        read -ra words <<<"$line"
        [[ $line == *" " || -z $line ]] && words+=("")
        if [[ $shell == fish ]]; then
            got=$(complete_fish "$line" | tr '\n' ' ')
        else
            got=$(complete_$shell "${words[@]}" | tr '\n' ' ')
        fi
        case $want in
            exact:*) [[ $got == "${want#exact:}" ]] || fail "$shell: 'ombrelctl $line' offers '$got', not '${want#exact:}'" ;;
            has:*) for w in ${want#has:}; do
                       grep -qw -- "$w" <<<"$got" || fail "$shell: 'ombrelctl $line' does not offer $w: '$got'"
                   done ;;
        esac
        for r in $refused; do
            [[ " $got " == *" $r "* ]] && fail "$shell: 'ombrelctl $line' offers $r"
        done
    done
done

# Every key offered for KEY is a key of the keyboard: keymap set takes each.
state="$work/state"
for key in $(complete_bash keymap set 1 ""); do
    out=$(ombrelctl --emulator="$state" keymap reset 1 "$key" 2>&1) || fail "bash offers '$key' for KEY, but: $out"
done
exit $((failures > 0))
