# bash completion for ovlet: its commands, their options, and file names by
# the extension each place takes.

_ovlet_files() {
    # $1: an extended pattern of extensions, e.g. 'ovt' or 'jpg|jpeg|png'
    local IFS=$'\n' restore
    restore=$(shopt -p extglob)
    shopt -s extglob
    COMPREPLY=($(compgen -f -X "!*.@($1|${1^^})" -- "$cur") $(compgen -d -- "$cur"))
    eval "$restore"
    compopt -o filenames 2>/dev/null
}

_ovlet_dirs() {
    local IFS=$'\n'
    COMPREPLY=($(compgen -d -- "$cur"))
    compopt -o filenames 2>/dev/null
}

_ovlet() {
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion -n = || return
    else
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    fi

    local commands="show make picture export import qr render decode info help"
    local pictures='jpg|jpeg|png|bmp|dib|tga|pct|pict'
    local command="" i
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} != -* ]]; then
            command=${words[i]}
            break
        fi
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands --help --verbose --version" -- "$cur"))
        return
    fi

    # --option=value: complete the value.
    if [[ $cur == --*=* ]]; then
        prev=${cur%%=*}
        cur=${cur#*=}
    fi

    local batch=""
    [[ " ${words[*]} " == *" --csv "* || " ${words[*]} " == *" --all "* ]] && batch=1

    case $prev in
        --from) _ovlet_files ovt; return ;;
        --picture) _ovlet_files 'jpg|jpeg|png'; return ;;
        --csv) _ovlet_files csv; return ;;
        --depth) COMPREPLY=($(compgen -W "0 8 32" -- "$cur")); return ;;
        --size | --width) return ;;
        -o | --output)
            case $command in
                export) _ovlet_files 'vcf|vcard' ;;
                qr | render) _ovlet_files png ;;
                decode) _ovlet_files pam ;;
                make | import) if [[ -n $batch ]]; then _ovlet_dirs; else _ovlet_files ovt; fi ;;
                *) _ovlet_files '*' ;;
            esac
            return
            ;;
    esac

    local options=""
    case $command in
        show) options="--json" ;;
        make) options="--from --picture --csv -o --output" ;;
        picture) options="-o --output" ;;
        export) options="--vcard --vcard3 --no-photo -o --output" ;;
        import) options="--all --picture -o --output" ;;
        qr) options="-o --output --size --vcard3" ;;
        render) options="-o --output --width" ;;
        decode) options="--depth -o --output" ;;
        info) options="" ;;
        help) COMPREPLY=($(compgen -W "$commands" -- "$cur")); return ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
        return
    fi

    case $command in
        show | picture | export | qr | render) _ovlet_files ovt ;;
        make)
            if [[ -z $batch ]]; then
                _ovlet_files ovt
                local fields="Company= StreetAddress= City= StateProvince= PostalCode= Country= WebSite=
                    FirstName= LastName= MiddleName= JobTitle= EMail= Fax= Department= Phone1Description=
                    Phone1Number= Phone2Description= Phone2Number= GeneralInformation="
                local matches=($(compgen -W "$fields" -- "$cur"))
                if ((${#matches[@]})); then
                    COMPREPLY+=("${matches[@]}")
                    compopt -o nospace 2>/dev/null
                fi
            fi
            ;;
        import) _ovlet_files 'vcf|vcard' ;;
        decode | info) _ovlet_files "$pictures" ;;
    esac
}

complete -F _ovlet ovlet
