# bash completion for ombrelctl. The commands are read from `ombrelctl --help` and the key, media and function
# names from `ombrelctl names`, so new ones complete without a change here.

_ombrelctl_commands() {
    "$1" --help 2>/dev/null | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\( [a-z][a-z-]*\)\?\).*/\1/p' |
        sed 's/ [A-Z[].*//'
}

_ombrelctl_profiles() {
    "$1" --help 2>/dev/null | tr '\n' ' ' |
        sed -n 's/.*Profiles are numbered \([0-9]\), \([0-9]\) and \([0-9]\).*/\1 \2 \3/p'
}

# Names of one kind (keys, media, functions) without their blanks, which ombrelctl ignores; names with characters
# a shell would need quoted are left out.
_ombrelctl_names() {
    "$1" names "$2" 2>/dev/null | tr -d ' ' | grep -E '^[A-Za-z0-9][A-Za-z0-9/+.,-]*$'
}

_ombrelctl_functions='default disabled key: mouse:left mouse:right mouse:middle wheel:up wheel:down media: function:
macro: stop-macro'

# Completes a function argument; after "key:", "media:" or "function:" with the names of that kind.
_ombrelctl_complete_function() {
    local prog=$1 cur=$2
    local kind=${cur%%:*} kinds
    if [[ $cur == *:* ]]; then
        case $kind in
            key) kinds=keys ;;
            media) kinds=media ;;
            function) kinds=functions ;;
            *) return ;;
        esac
        COMPREPLY=($(compgen -P "$kind:" -W "$(_ombrelctl_names "$prog" "$kinds")" -- "${cur#*:}"))
        # bash splits words at ':' unless told otherwise: give back only what follows the colon.
        if [[ $COMP_WORDBREAKS == *:* ]]; then
            local i
            for i in "${!COMPREPLY[@]}"; do
                COMPREPLY[i]=${COMPREPLY[i]#"$kind:"}
            done
        fi
        return
    fi
    compopt -o nospace 2>/dev/null
    COMPREPLY=($(compgen -W "$_ombrelctl_functions" -- "$cur"))
    [[ ${#COMPREPLY[@]} == 1 && ${COMPREPLY[0]} != *: ]] && compopt +o nospace 2>/dev/null
}

_ombrelctl() {
    local prog=${COMP_WORDS[0]}
    # Words split at ':' by bash are joined again, so "key:Esc" is one word here.
    local -a all=()
    local i
    for ((i = 1; i <= COMP_CWORD; i++)); do
        local w=${COMP_WORDS[i]}
        if ((${#all[@]} > 0)) && [[ $w == : || ${all[-1]} == *: ]] && [[ ${COMP_WORDS[i - 1]} != "" || $w == : ]]; then
            all[-1]+=$w
        else
            all+=("$w")
        fi
    done
    local cur=${all[-1]}
    local prev=
    ((${#all[@]} > 1)) && prev=${all[-2]}
    local -a words=()
    for ((i = 0; i < ${#all[@]} - 1; i++)); do
        [[ ${all[i]} == -* ]] || words+=("${all[i]}")
    done

    if [[ $cur == --emulator=* ]]; then
        COMPREPLY=($(compgen -f -- "${cur#--emulator=}"))
        return
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--emulator --emulator= --direct --trace --json --force --help --version' -- "$cur"))
        [[ ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
        return
    fi
    if [[ $prev == --backup ]]; then
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        return
    fi

    local commands
    commands=$(_ombrelctl_commands "$prog")
    if ((${#words[@]} == 0)); then
        # The first word of each command ("profile" of "profile get"), each once.
        COMPREPLY=($(compgen -W "$(printf '%s\n' "$commands" | sed 's/ .*//' | sort -u)" -- "$cur"))
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
        names)
            ((nargs == 0)) && COMPREPLY=($(compgen -W 'keys keyboard media functions mouse' -- "$cur"))
            ;;
        "firmware boot")
            ((nargs == 0)) && COMPREPLY=($(compgen -W '--backup --no-backup' -- "$cur"))
            ;;
        "rules default")
            ((nargs == 0)) && COMPREPLY=($(compgen -W "$(_ombrelctl_profiles "$prog")" -- "$cur"))
            ;;
        "rules add")
            if ((nargs == 1)); then
                COMPREPLY=($(compgen -W "$(_ombrelctl_profiles "$prog")" -- "$cur"))
            elif ((nargs == 2)); then
                COMPREPLY=($(compgen -W '--position' -- "$cur"))
            fi
            ;;
        read-lighting | read-keymap | "profile set" | "keymap show" | "keymap set" | "keymap reset" | "lighting show" | \
            "lighting set" | "lighting reset" | "colors show" | "colors paint" | "colors slot" | "colors base")
            if ((nargs == 0)); then
                COMPREPLY=($(compgen -W "$(_ombrelctl_profiles "$prog")" -- "$cur"))
            elif ((nargs == 1)) && [[ $name == "keymap set" || $name == "keymap reset" ]]; then
                COMPREPLY=($(compgen -W "$(_ombrelctl_names "$prog" keyboard)" -- "$cur"))
            elif ((nargs == 1)) && [[ $name == "colors paint" ]]; then
                # The G keys show the base colour and are not painted one by one.
                COMPREPLY=($(compgen -W "Fn $(_ombrelctl_names "$prog" keyboard | grep -v '^G[1-9]B\{0,1\}$')" -- "$cur"))
            elif ((nargs == 1)) && [[ $name == "lighting set" ]]; then
                COMPREPLY=($(compgen -W 'effect brightness speed direction color colorful four-color report-rate' \
                    -- "$cur"))
            elif [[ $name == "keymap set" ]] && ((nargs == 2)); then
                _ombrelctl_complete_function "$prog" "$cur"
            fi
            ;;
    esac
}

complete -F _ombrelctl ombrelctl
