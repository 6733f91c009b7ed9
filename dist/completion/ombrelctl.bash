# bash completion for ombrelctl. The commands are read from `ombrelctl --help`, so new ones complete without a
# change here.

_ombrelctl_commands() {
    "$1" --help 2>/dev/null | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\( [a-z][a-z-]*\)\?\).*/\1/p' |
        sed 's/ [A-Z[].*//'
}

_ombrelctl_profiles() {
    "$1" --help 2>/dev/null | tr '\n' ' ' |
        sed -n 's/.*Profiles are numbered \([0-9]\), \([0-9]\) and \([0-9]\).*/\1 \2 \3/p'
}

_ombrelctl_functions='default disabled key: mouse:left mouse:right mouse:middle wheel:up wheel:down media: function:
macro: stop-macro'

_ombrelctl() {
    local cur prog=${COMP_WORDS[0]}
    cur=${COMP_WORDS[COMP_CWORD]}
    local -a words=()
    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -* ]] || words+=("${COMP_WORDS[i]}")
    done

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--emulator --emulator= --trace --force --help --version' -- "$cur"))
        [[ ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
        return
    fi
    if [[ $cur == --emulator=* ]]; then
        COMPREPLY=($(compgen -f -- "${cur#--emulator=}"))
        return
    fi

    local commands
    commands=$(_ombrelctl_commands "$prog")
    if ((${#words[@]} == 0)); then
        COMPREPLY=($(compgen -W "$(printf '%s\n' $commands | sort -u)" -- "$cur"))
        return
    fi
    # A two-word command: complete its second word.
    local first=${words[0]} second
    second=$(printf '%s\n' "$commands" | sed -n "s/^$first \(.*\)/\1/p")
    if [[ -n $second ]] && ((${#words[@]} == 1)); then
        COMPREPLY=($(compgen -W "$second" -- "$cur"))
        return
    fi

    local ncmd=1
    [[ -n $second ]] && ncmd=2
    local nargs=$((${#words[@]} - ncmd)) name="${words[*]:0:ncmd}"
    case "$name" in
        backup | validate | restore)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
            ;;
        read-lighting | read-keymap | "profile set" | "keymap show" | "keymap set" | "keymap reset")
            if ((nargs == 0)); then
                COMPREPLY=($(compgen -W "$(_ombrelctl_profiles "$prog")" -- "$cur"))
            elif [[ $name == "keymap set" ]] && ((nargs == 2)); then
                compopt -o nospace 2>/dev/null
                COMPREPLY=($(compgen -W "$_ombrelctl_functions" -- "$cur"))
                [[ ${#COMPREPLY[@]} == 1 && ${COMPREPLY[0]} != *: ]] && compopt +o nospace 2>/dev/null
            fi
            ;;
    esac
}

complete -F _ombrelctl ombrelctl
