#!/bin/sh
# Loads one of tazen-cli's completions in its shell and, where the shell can be asked without a terminal,
# completes an option. Usage: completions_test.sh bash|zsh|fish COMPLETIONS_FOLDER. Exit 77: shell missing.
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
shell=$1
folder=$2
command -v "$shell" >/dev/null 2>&1 || { echo "$shell is not installed"; exit 77; }
expect() {
    printf '%s\n' "$2" | grep -qx -- "$1" || { echo "$shell offered no $1 but:"; printf '%s\n' "$2"; exit 1; }
}
case $shell in
bash)
    bash -n "$folder/tazen-cli.bash"
    offered=$(bash -c '. "$1"; COMP_WORDS=(tazen-cli decrypt --ke); COMP_CWORD=2; _tazen_cli
        printf "%s\n" "${COMPREPLY[@]}"' - "$folder/tazen-cli.bash")
    expect --keep "$offered"
    expect --keep-going "$offered"
    offered=$(bash -c '. "$1"; COMP_WORDS=(tazen-cli encrypt --source ""); COMP_CWORD=3; _tazen_cli
        printf "%s\n" "${COMPREPLY[@]}"' - "$folder/tazen-cli.bash")
    expect shred "$offered"
    offered=$(bash -c '. "$1"; COMP_WORDS=(tazen-cli open --); COMP_CWORD=2; _tazen_cli
        printf "%s\n" "${COMPREPLY[@]}"' - "$folder/tazen-cli.bash")
    expect --left-behind "$offered"
    expect --allow-disk "$offered"
    ;;
zsh)
    zsh -n "$folder/_tazen-cli"
    ;;
fish)
    fish -n "$folder/tazen-cli.fish"
    offered=$(fish -N -c "source '$folder/tazen-cli.fish'; complete -C 'tazen-cli decrypt --ke'" | cut -f1)
    expect --keep "$offered"
    expect --keep-going "$offered"
    offered=$(fish -N -c "source '$folder/tazen-cli.fish'; complete -C 'tazen-cli encrypt --source '" | cut -f1)
    expect shred "$offered"
    offered=$(fish -N -c "source '$folder/tazen-cli.fish'; complete -C 'tazen-cli open --'" | cut -f1)
    expect --left-behind "$offered"
    expect --allow-disk "$offered"
    ;;
esac
