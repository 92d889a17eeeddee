# bash completion for halyx-cli
_halyx_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="show set read write tuning import export diff log fleet ports doctor help"
    local edits="--channel --rx --tx --rx-tone --tx-tone --bandwidth --tot --vox --squelch
                 --settings-channel --language --power --scramble --compand --serial --user-id -o"
    local command=${words[1]}

    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version --lang" -- "$cur"))
        return
    fi

    case $prev in
        -o | --base | --image)
            _filedir
            return
            ;;
        --yaml)
            _filedir '@(yaml|yml)'
            return
            ;;
        --csv | --overrides)
            _filedir csv
            return
            ;;
        --report)
            _filedir json
            return
            ;;
        --out-dir)
            _filedir -d
            return
            ;;
        --ports)
            COMPREPLY=($(compgen -W "COM1 COM2 COM3 COM4" -- "$cur"))
            return
            ;;
        --pdf)
            _filedir pdf
            return
            ;;
        --html)
            _filedir html
            return
            ;;
        --page)
            COMPREPLY=($(compgen -W "a4 letter" -- "$cur"))
            return
            ;;
        --lang)
            COMPREPLY=($(compgen -W "en zh" -- "$cur"))
            return
            ;;
        --log)
            _filedir log
            return
            ;;
        --port)
            COMPREPLY=($(compgen -W "COM1 COM2 COM3 COM4 rfc2217:// tcp://" -- "$cur"))
            COMPREPLY+=($(compgen -f -- "${cur:-/dev/tty}"))
            return
            ;;
        --baud)
            COMPREPLY=($(compgen -W "9600 19200 38400 57600" -- "$cur"))
            return
            ;;
        --bandwidth)
            COMPREPLY=($(compgen -W "12.5K 25K" -- "$cur"))
            return
            ;;
        --scramble | --compand)
            COMPREPLY=($(compgen -W "on off" -- "$cur"))
            return
            ;;
        --power)
            COMPREPLY=($(compgen -W "0 1 2" -- "$cur"))
            return
            ;;
        --language)
            COMPREPLY=($(compgen -W "0 1" -- "$cur"))
            return
            ;;
        --tot)
            COMPREPLY=($(compgen -W "off 30 40 50 60 70 80 90 100 110 120 130 140 150 160 170 180" -- "$cur"))
            return
            ;;
        --channel | --settings-channel)
            COMPREPLY=($(compgen -W "$(seq 1 20)" -- "$cur"))
            return
            ;;
    esac

    case $command in
        show)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--json" -- "$cur"))
            else
                _filedir '@(kda|yaml|yml)'
            fi
            ;;
        set)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "$edits" -- "$cur"))
            else
                _filedir '@(kda|yaml|yml)'
            fi
            ;;
        read)
            COMPREPLY=($(compgen -W "--port -o --base --log --no-backup" -- "$cur"))
            ;;
        log)
            COMPREPLY=($(compgen -W "--since --json" -- "$cur"))
            ;;
        ports)
            COMPREPLY=($(compgen -W "--json" -- "$cur"))
            ;;
        doctor)
            COMPREPLY=($(compgen -W "--port --json --loopback" -- "$cur"))
            ;;
        write)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--port --log --no-read-first --keep-identity" -- "$cur"))
            else
                _filedir '@(kda|yaml|yml)'
            fi
            ;;
        import)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--csv --yaml --base --clear -o --json" -- "$cur"))
            else
                _filedir '@(kda|yaml|yml)'
            fi
            ;;
        export)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--csv --pdf --html --yaml --page" -- "$cur"))
            else
                _filedir '@(kda|yaml|yml)'
            fi
            ;;
        diff)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--json" -- "$cur"))
            else
                _filedir '@(kda|yaml|yml)'
            fi
            ;;
        fleet)
            if [[ $cword -eq 2 ]]; then
                COMPREPLY=($(compgen -W "write read" -- "$cur"))
            elif [[ ${words[2]} == write && $cur != -* ]]; then
                _filedir '@(kda|yaml|yml)'
            elif [[ ${words[2]} == write ]]; then
                COMPREPLY=($(compgen -W "--ports --overrides --report --no-backup --log" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "--ports --out-dir --base --report --no-backup --log" -- "$cur"))
            fi
            ;;
        tuning)
            if [[ $cword -eq 2 ]]; then
                COMPREPLY=($(compgen -W "read write point" -- "$cur"))
            elif [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--port --baud -o --image --log" -- "$cur"))
            else
                _filedir dat
            fi
            ;;
    esac
} && complete -F _halyx_cli halyx-cli
