# bash completion for tazen-cli
# SPDX-License-Identifier: GPL-3.0-or-later

_tazen_cli()
{
    local cur prev command
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    command=${COMP_WORDS[1]}

    if [[ $COMP_CWORD -eq 1 ]]; then
        COMPREPLY=($(compgen -W 'encrypt decrypt check shred passphrase open --help --version' -- "$cur"))
        return
    fi

    case $prev in
        --source)
            COMPREPLY=($(compgen -W 'keep delete shred' -- "$cur"))
            return ;;
        --password-file)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        -o|--output-dir)
            COMPREPLY=($(compgen -d -- "$cur"))
            return ;;
        --with)
            COMPREPLY=($(compgen -c -- "$cur"))
            return ;;
        -j|--jobs|--password-fd|--progress-fd|--min-strength)
            return ;;
    esac

    local options='-h --help -q --quiet --progress-fd'
    case $command in
        encrypt)
            options+=' -r --recursive --no-verify -j --jobs --force -o --output-dir --password-file --password-stdin
                --password-fd --allow-empty-password --min-strength --source --self-extracting
                --self-extracting=windows --self-extracting=linux --no-self-extracting' ;;
        decrypt)
            options+=' -r --recursive --no-verify -j --jobs --force -o --output-dir --password-file --password-stdin
                --password-fd -k --keep --keep-going' ;;
        check)
            options+=' --password-file --password-stdin --password-fd' ;;
        open)
            options+=' --password-file --password-stdin --password-fd --with --allow-disk --left-behind --save-back
                --discard' ;;
        passphrase)
            return ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif [[ $command == decrypt || $command == check || $command == open ]]; then
        # .TaZEN and .TaZEN.exe files, and folders to look in.
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.TaZEN' -- "$cur") $(compgen -f -X '!*.TaZEN.exe' -- "$cur"))
        compopt -o filenames 2>/dev/null
    else
        COMPREPLY=($(compgen -f -- "$cur"))
        compopt -o filenames 2>/dev/null
    fi
}
complete -F _tazen_cli tazen-cli
