# fish completion for tazen-cli
# SPDX-License-Identifier: GPL-3.0-or-later

set -l commands encrypt decrypt check shred passphrase open
complete -c tazen-cli -f
complete -c tazen-cli -n "not __fish_seen_subcommand_from $commands" -a encrypt -d 'Write FILE.TaZEN for each FILE'
complete -c tazen-cli -n "not __fish_seen_subcommand_from $commands" -a decrypt -d 'Write FILE for each FILE.TaZEN'
complete -c tazen-cli -n "not __fish_seen_subcommand_from $commands" -a check -d 'Tell whether the password opens each file'
complete -c tazen-cli -n "not __fish_seen_subcommand_from $commands" -a shred -d 'Overwrite each file 35 times, then delete it'
complete -c tazen-cli -n "not __fish_seen_subcommand_from $commands" -a passphrase -d 'Print a passphrase of random words'
complete -c tazen-cli -n "not __fish_seen_subcommand_from $commands" -a open -d 'Decrypt into memory, open, and encrypt each saved change back'
complete -c tazen-cli -n "not __fish_seen_subcommand_from $commands" -l version -d 'Show the version'

complete -c tazen-cli -s h -l help -d 'Show the help text'
complete -c tazen-cli -n "__fish_seen_subcommand_from encrypt decrypt check shred open" -s q -l quiet -d 'Show no progress line'
complete -c tazen-cli -n "__fish_seen_subcommand_from encrypt decrypt check shred open" -l progress-fd -x -d 'Write progress to a file descriptor'
complete -c tazen-cli -n "__fish_seen_subcommand_from encrypt decrypt check shred open" -F

set -l password "__fish_seen_subcommand_from encrypt decrypt check open"
complete -c tazen-cli -n $password -l password-file -r -F -d 'Read a password from the first line of a file'
complete -c tazen-cli -n $password -l password-stdin -d 'Read the password from standard input'
complete -c tazen-cli -n $password -l password-fd -x -d 'Read the password from a file descriptor'

set -l writing "__fish_seen_subcommand_from encrypt decrypt"
complete -c tazen-cli -n $writing -s r -l recursive -d 'Walk sub-folders too'
complete -c tazen-cli -n $writing -l no-verify -d 'Do not read new files back before disposal'
complete -c tazen-cli -n $writing -s j -l jobs -x -d 'Work on N files at a time'
complete -c tazen-cli -n $writing -l force -d 'Replace existing files without asking'
complete -c tazen-cli -n $writing -s o -l output-dir -x -a '(__fish_complete_directories)' -d 'Put new files into this folder'

set -l encrypt "__fish_seen_subcommand_from encrypt"
complete -c tazen-cli -n $encrypt -l allow-empty-password -d 'Allow an empty password'
complete -c tazen-cli -n $encrypt -l min-strength -x -a '0 1 2 3 4' -d 'Refuse a weaker password'
complete -c tazen-cli -n $encrypt -l source -x -a 'keep delete shred' -d 'What becomes of each source'
complete -c tazen-cli -n $encrypt -l self-extracting -d 'Also make a self-extracting program (=windows or =linux)'
complete -c tazen-cli -n $encrypt -l no-self-extracting -d 'Make no self-extracting program'

set -l decrypt "__fish_seen_subcommand_from decrypt"
complete -c tazen-cli -n $decrypt -s k -l keep -d 'Keep each encrypted file'
complete -c tazen-cli -n $decrypt -l keep-going -d 'Leave a file no password opens and go on'

set -l open "__fish_seen_subcommand_from open"
complete -c tazen-cli -n $open -l with -x -a '(__fish_complete_command)' -d 'Open the copy with this command'
complete -c tazen-cli -n $open -l allow-disk -d 'Allow a runtime folder on a disk'
complete -c tazen-cli -n $open -l left-behind -d 'List the copies a crash left behind'
complete -c tazen-cli -n $open -l save-back -d 'With --left-behind: save each copy back'
complete -c tazen-cli -n $open -l discard -d 'With --left-behind: overwrite and remove each copy'
