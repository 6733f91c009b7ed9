# fish completion for ombrelctl. The commands are read from `ombrelctl --help` and the key, media and function
# names from `ombrelctl names`, so new ones complete without a change here.

function __ombrelctl_commands
    ombrelctl --help 2>/dev/null | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\( [a-z][a-z-]*\)\{0,1\}\).*/\1/p' | sed 's/ [A-Z[].*//'
end

function __ombrelctl_profiles
    ombrelctl --help 2>/dev/null | tr '\n' ' ' | sed -n 's/.*Profiles are numbered \([0-9]\), \([0-9]\) and \([0-9]\).*/\1\n\2\n\3/p'
end

# Names of one kind (keys, media, functions) without their blanks, which ombrelctl ignores.
function __ombrelctl_names
    ombrelctl names $argv[1] 2>/dev/null | string replace -a ' ' '' | string match -r -- '^[A-Za-z0-9][A-Za-z0-9/+.,-]*$'
end

# The function arguments; after "key:", "media:" or "function:" the names of that kind.
function __ombrelctl_functions
    set -l token (commandline -ct)
    switch $token
        case 'key:*'
            __ombrelctl_names keys | string replace -r '^' 'key:'
        case 'media:*'
            __ombrelctl_names media | string replace -r '^' 'media:'
        case 'function:*'
            __ombrelctl_names functions | string replace -r '^' 'function:'
        case '*'
            printf '%s\n' default disabled key: mouse:left mouse:right mouse:middle wheel:up wheel:down media: function: macro: stop-macro
    end
end

# The words typed after the program name, without options.
function __ombrelctl_words
    commandline -opc | tail -n +2 | string match -v -- '-*'
end

function __ombrelctl_needs_command
    test (count (__ombrelctl_words)) -eq 0
end

function __ombrelctl_second_words
    set -l first $argv[1]
    __ombrelctl_commands | string match -- "$first *" | string replace -- "$first " ''
end

function __ombrelctl_needs_second
    set -l w (__ombrelctl_words)
    test (count $w) -eq 1; or return 1
    set -l seconds (__ombrelctl_second_words $w[1])
    test (count $seconds) -gt 0
end

# True when the command is one of argv and that many arguments have been given so far: "N name..."
function __ombrelctl_at_argument
    set -l want $argv[1]
    set -l w (__ombrelctl_words)
    for name in $argv[2..-1]
        set -l parts (string split ' ' -- $name)
        set -l n (count $parts)
        if test (count $w) -ge $n; and test "$w[1..$n]" = "$parts"; and test (math (count $w) - $n) -eq $want
            return 0
        end
    end
    return 1
end

complete -c ombrelctl -f
complete -c ombrelctl -l emulator -d 'use the built-in keyboard emulator (=STATE_FILE keeps its memory)' -r -F
complete -c ombrelctl -l direct -d 'talk to the keyboard itself, not through the running program'
complete -c ombrelctl -l trace -d 'print every report and reply as hex'
complete -c ombrelctl -l force -d 'replace an existing file or write a damaged one'
complete -c ombrelctl -s h -l help -d 'show the help'
complete -c ombrelctl -l json -d 'print what the command shows as JSON'
complete -c ombrelctl -l version -d 'show the version'

complete -c ombrelctl -n __ombrelctl_needs_command -a '(__ombrelctl_commands | string replace -r " .*" "" | sort -u)'
complete -c ombrelctl -n __ombrelctl_needs_second -a '(__ombrelctl_second_words (__ombrelctl_words)[1])'
complete -c ombrelctl -n '__ombrelctl_at_argument 0 read-lighting read-keymap "profile set" "keymap show" "keymap set" "keymap reset" "lighting show" "lighting set" "lighting reset" "colors show" "colors paint" "colors slot" "colors base"' -a '(__ombrelctl_profiles)'
complete -c ombrelctl -n '__ombrelctl_at_argument 1 "keymap set" "keymap reset"' -a '(__ombrelctl_names keyboard)'
complete -c ombrelctl -n '__ombrelctl_at_argument 1 "colors paint"' -a 'Fn (__ombrelctl_names keyboard | string match -rv "^G[1-9]B?\$")'
complete -c ombrelctl -n '__ombrelctl_at_argument 1 "lighting set"' -a 'effect brightness speed direction color colorful four-color report-rate'
complete -c ombrelctl -n '__ombrelctl_at_argument 2 "keymap set"' -a '(__ombrelctl_functions)'
complete -c ombrelctl -n '__ombrelctl_at_argument 0 names' -a 'keys keyboard media functions mouse'
complete -c ombrelctl -n '__ombrelctl_at_argument 0 "firmware boot"' -a '--backup --no-backup'
complete -c ombrelctl -n '__ombrelctl_at_argument 0 "rules default"' -a '(__ombrelctl_profiles)'
complete -c ombrelctl -n '__ombrelctl_at_argument 1 "rules add"' -a '(__ombrelctl_profiles)'
complete -c ombrelctl -n '__ombrelctl_at_argument 2 "rules add"' -a '--position'
complete -c ombrelctl -n '__ombrelctl_at_argument 0 backup validate restore' -F
