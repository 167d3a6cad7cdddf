# bash completion for reader-config: commands, options, profile files, and
# the device paths and serial numbers 'reader-config list' prints.
# Installed as share/bash-completion/completions/reader-config.

# The words up to the cursor, with "--name=value" whole again where bash
# split it at "=" (COMP_WORDBREAKS); sets words and cword.
_reader_config_words() {
    words=()
    local i w
    for ((i = 0; i <= COMP_CWORD; i++)); do
        w=${COMP_WORDS[i]}
        if ((${#words[@]} > 1)) && [[ $w == "=" || ${words[-1]} == *= ]]; then
            words[-1]+=$w
        else
            words+=("$w")
        fi
    done
    cword=$((${#words[@]} - 1))
}

# Column "path" or "serial" of 'list', asked with the --simulate options
# already typed (no --simulate-state: completing writes no file).
_reader_config_listed() {
    local column=$1 w
    local -a sim=()
    for w in "${words[@]:1:cword-1}"; do
        case $w in --simulate | --simulate=*) sim+=("$w") ;; esac
    done
    "${words[0]}" "${sim[@]}" --lang en list 2>/dev/null |
        awk -v column="$column" '$2 == "interface" {
            if (column == "path") print $1
            else if ($5 != "(none)") print $5 }'
}

# Completes the current word from the list in $1; prefix is what the word
# holds before the value (--name=), which bash keeps when it split at "=".
_reader_config_reply() {
    local prefix=$1 value=$2 list=$3
    local IFS=$'\n'
    COMPREPLY=($(compgen -W "$list" -- "$value"))
    if [[ -n $prefix && ${COMP_WORDS[COMP_CWORD]} != "$prefix"* ]]; then
        return  # bash split at "=": the word is the value alone
    fi
    COMPREPLY=("${COMPREPLY[@]/#/$prefix}")
}

# Files (and folders to go into) for an option's value or a profile; with
# a pattern only the files that match it.
_reader_config_files() {
    local prefix=$1 value=$2 pattern=$3
    local IFS=$'\n' f
    local -a found=()
    for f in $(compgen -f -- "$value"); do
        if [[ -d $f ]]; then
            found+=("$f/")
        elif [[ -z $pattern || $f == $pattern ]]; then
            found+=("$f")
        fi
    done
    COMPREPLY=("${found[@]}")
    compopt -o nospace -o filenames 2>/dev/null
    if [[ -n $prefix && ${COMP_WORDS[COMP_CWORD]} == "$prefix"* ]]; then
        COMPREPLY=("${COMPREPLY[@]/#/$prefix}")
    fi
}

_reader_config() {
    local -a words
    local cword
    _reader_config_words
    local cur=${words[cword]} prev=${words[cword - 1]}
    local kinds="reader keypad old-reader silent"

    # The value of an option, as "--name VALUE" or "--name=VALUE".
    local name=$prev value=$cur prefix=""
    if [[ $cur == --*=* ]]; then
        name=${cur%%=*}
        value=${cur#*=}
        prefix="$name="
    fi
    case $name in
        --device)
            _reader_config_reply "$prefix" "$value" "$(_reader_config_listed path)"
            return ;;
        --serial)
            _reader_config_reply "$prefix" "$value" "$(_reader_config_listed serial)"
            return ;;
        --lang)
            _reader_config_reply "$prefix" "$value" $'zh\nen'
            return ;;
        --simulate)
            if [[ -n $prefix ]]; then
                # A comma-separated list: complete its last name.
                local done=""
                [[ $value == *,* ]] && done=${value%,*},
                local k list=""
                for k in $kinds; do list+="$done$k"$'\n'; done
                _reader_config_reply "$prefix" "$value" "$list"
                compopt -o nospace 2>/dev/null
                return
            fi ;;
        --simulate-state | --trace | --log)
            _reader_config_files "$prefix" "$value" ""
            return ;;
        --count)
            return ;;
    esac

    # The command, if one has been given, and the words after it.
    local command="" w i positionals=0
    for ((i = 1; i < cword; i++)); do
        w=${words[i]}
        case $w in
            --device | --serial | --lang | --simulate-state | --trace | --log | --count)
                ((i++)) ;;
            -*) ;;
            *)
                if [[ -z $command ]]; then command=$w; else ((positionals++)); fi ;;
        esac
    done

    local options="--device --serial --json --quiet --verbose --lang --simulate --simulate=
--simulate-state --trace --help --version"
    case $command in
        apply) options+=" --force" ;;
        batch) options+=" --count --log --parallel" ;;
    esac
    if [[ $cur == -* ]]; then
        _reader_config_reply "" "$cur" "${options//[[:space:]]/$'\n'}"
        [[ ${COMPREPLY[0]-} == *= ]] && compopt -o nospace 2>/dev/null
        return
    fi
    case $command in
        "")
            _reader_config_reply "" "$cur" $'read\napply\nverify\nbatch\nlist' ;;
        apply | verify | batch)
            ((positionals == 0)) && _reader_config_files "" "$cur" "*.json" ;;
    esac
}

complete -F _reader_config reader-config
