# bash completion for horalyn-cli                          -*- shell-script -*-

_horalyn_cli_options()
{
    case $1 in
        next) echo "--type --days --ordinals --every --unit --date --time --count --help" ;;
        add) echo "--task-type --description --message --command --path --category --type --days
                   --ordinals --every --unit --date --time --alarm --warn --skip-if-missed --no-history
                   --confirm --skip-next --disabled --help" ;;
        list) echo "--history --help" ;;
        agenda) echo "--days --help" ;;
        backup) echo "--help" ;;
        show | delete) echo "--help" ;;
        export) echo "--fields --layout --save-layout --no-header --format --history --help" ;;
        import) echo "--fields --layout --save-layout --no-header --format --help" ;;
        report) echo "--format --output --from --to --category --history --disabled --open --help" ;;
    esac
}

_horalyn_cli()
{
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion -s || return
    else
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    fi

    local commands="next add list agenda show delete export import report backup"
    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    local command=${words[1]}

    # Values of the options that take a known set of them.
    case $prev in
        --type)
            local IFS=$'\n'
            COMPREPLY=($(compgen -W $'Once\nDay of Week\nDay of Month\nMonthly\nYearly\nCustom' -- "$cur"))
            COMPREPLY=("${COMPREPLY[@]// /\\ }")
            return
            ;;
        --task-type)
            local IFS=$'\n'
            COMPREPLY=($(compgen -W $'Display Message\nRun Program\nBoth\nNone' -- "$cur"))
            COMPREPLY=("${COMPREPLY[@]// /\\ }")
            return
            ;;
        --unit)
            COMPREPLY=($(compgen -W "minute(s) hour(s) day(s) week(s) month(s) year(s)" -- "$cur"))
            return
            ;;
        --format)
            if [[ $command == report ]]; then
                COMPREPLY=($(compgen -W "pdf txt csv" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "csv ical vcard vcard3" -- "$cur"))
            fi
            return
            ;;
        --alarm | --layout | --save-layout | --output)
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
        --path)
            COMPREPLY=($(compgen -d -- "$cur"))
            return
            ;;
        --description | --message | --command | --category | --days | --ordinals | --every | --date | \
            --time | --count | --fields | --from | --to)
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_horalyn_cli_options "$command")" -- "$cur"))
        return
    fi
    # The first word after the command names what it works on.
    local i first=""
    for ((i = 2; i < cword; i++)); do
        [[ ${words[i]} == -* ]] || { first=${words[i]}; break; }
    done
    case $command in
        export | import)
            if [[ -z $first ]]; then
                COMPREPLY=($(compgen -W "schedule contacts todo" -- "$cur"))
            else
                COMPREPLY=($(compgen -f -- "$cur"))
            fi
            ;;
        backup)
            [[ -z $first ]] && COMPREPLY=($(compgen -f -- "$cur"))
            ;;
        report)
            [[ -z $first ]] && COMPREPLY=($(compgen -W "schedule-date schedule-category brief category contacts
                categories todo-priority todo-category" -- "$cur"))
            ;;
    esac
} &&
    complete -F _horalyn_cli horalyn-cli

# ex: filetype=sh
