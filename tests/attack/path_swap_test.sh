#!/bin/sh
# The path-swap attack from a second account: while tazen-cli encrypts a file in a folder of a shared folder
# (writable by others, no sticky bit) with the source deleted or shredded, another user keeps swapping that
# folder for a link to a folder of the victim's that holds a file of the same name. The victim's other file
# must come through every run untouched, and nothing may appear beside it.
# Needs root, to make the two accounts; skipped (code 77) otherwise.
# usage: path_swap_test.sh TAZEN_CLI [--runs N | --seconds N]   (default: 100 runs for each choice)
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the attack needs two accounts, and making them needs root"
    exit 77
fi
command -v useradd >/dev/null && command -v setpriv >/dev/null || { echo "SKIP: no useradd or setpriv"; exit 77; }

cli=$1
limit=${2:---runs}
amount=${3:-100}

suffix=$$
victim=tzvictim$suffix
attacker=tzattack$suffix
work=$(mktemp -d "${TMPDIR:-/tmp}/tazen-path-swap.XXXXXX")
attack_pid=
cleanup() {
    if [ -n "$attack_pid" ]; then
        kill "$attack_pid" 2>/dev/null || true
        kill -CONT "$attack_pid" 2>/dev/null || true
        wait "$attack_pid" 2>/dev/null || true
    fi
    userdel "$victim" 2>/dev/null || true
    userdel "$attacker" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

useradd --system --no-create-home --shell /usr/sbin/nologin "$victim"
useradd --system --no-create-home --shell /usr/sbin/nologin "$attacker"
as_victim() { setpriv --reuid="$victim" --regid="$victim" --clear-groups "$@"; }

chmod 0755 "$work"
mkdir -p "$work/program" "$work/home/docs" "$work/shared/dir"
cp "$cli" "$work/program/tazen-cli"
chmod 0755 "$work/program" "$work/program/tazen-cli"
# The shared folder: anyone may add, rename and remove its entries.
chmod 0777 "$work/shared"
chown -R "$victim:$victim" "$work/home" "$work/shared/dir"
chmod 0700 "$work/home"
printf 'the victim password\n' >"$work/home/password"
# The file the victim never names, and a copy to compare it with.
head -c 4096 /dev/urandom >"$work/home/docs/notes.txt"
cp "$work/home/docs/notes.txt" "$work/reference"
chown "$victim:$victim" "$work/home/password" "$work/home/docs/notes.txt"
chmod 0600 "$work/home/password" "$work/home/docs/notes.txt"

# The attacker's loop: the victim's folder renamed away, a link to the victim's docs in its place, and back.
cat >"$work/attack.py" <<PYTHON
import os
shared = "$work/shared"
while True:
    try:
        os.rename(shared + "/dir", shared + "/real")
        os.symlink("$work/home/docs", shared + "/dir")
        os.unlink(shared + "/dir")
        os.rename(shared + "/real", shared + "/dir")
    except OSError:
        pass
PYTHON

cat >"$work/attack.sh" <<SHELL
cd "$work/shared"
while :; do mv dir real && ln -s "$work/home/docs" dir && rm dir && mv real dir; done 2>/dev/null
SHELL
# Python swaps far faster than a shell can; the shell loop stands in where there is none.
attack_command="sh $work/attack.sh"
if PATH=/usr/bin:/bin command -v python3 >/dev/null; then attack_command="python3 $work/attack.py"; fi

# Between runs the attacker is stopped and the shared folder put back as it was.
settle() {
    kill -STOP "$attack_pid"
    # A stop takes effect a moment later; the state in /proc says when (bounded, as every wait here).
    tries=0
    while [ "$(cut -d' ' -f3 "/proc/$attack_pid/stat")" != T ] && [ "$tries" -lt 10000 ]; do tries=$((tries + 1)); done
    if [ -L "$work/shared/dir" ]; then rm -f "$work/shared/dir"; fi
    if [ -d "$work/shared/real" ] && [ ! -e "$work/shared/dir" ]; then mv "$work/shared/real" "$work/shared/dir"; fi
}

failures=0
for choice in delete shred; do
    # shellcheck disable=SC2086
    setpriv --reuid="$attacker" --regid="$attacker" --clear-groups env PATH=/usr/bin:/bin $attack_command &
    attack_pid=$!
    runs=0 refused=0 encrypted=0 touched=0
    start=$(date +%s)
    while :; do
        if [ "$limit" = --runs ]; then [ "$runs" -lt "$amount" ] || break
        else [ $(($(date +%s) - start)) -lt "$amount" ] || break; fi
        settle
        rm -f "$work/shared/dir/notes.txt" "$work/shared/dir/notes.txt.TaZEN"
        as_victim sh -c "head -c 4096 /dev/urandom >'$work/shared/dir/notes.txt'"
        kill -CONT "$attack_pid"
        if as_victim timeout 30 "$work/program/tazen-cli" encrypt --quiet --source "$choice" \
            --password-file "$work/home/password" "$work/shared/dir/notes.txt" >/dev/null 2>"$work/err"; then
            encrypted=$((encrypted + 1))
        else
            refused=$((refused + 1))
        fi
        runs=$((runs + 1))
        if ! cmp -s "$work/home/docs/notes.txt" "$work/reference" ||
            [ "$(ls -A "$work/home/docs")" != notes.txt ]; then
            echo "FAIL: --source $choice, run $runs: the victim's unnamed file was touched:" >&2
            ls -la "$work/home/docs" >&2
            cat "$work/err" >&2
            touched=$((touched + 1))
            settle
            cp "$work/reference" "$work/home/docs/notes.txt"
            rm -f "$work/home/docs/notes.txt.TaZEN"
            kill -CONT "$attack_pid"
        fi
    done
    kill "$attack_pid"
    wait "$attack_pid" 2>/dev/null || true
    attack_pid=
    echo "--source $choice: $runs runs, $encrypted encrypted, $refused refused, victim's file touched in $touched"
    failures=$((failures + touched))
done
[ "$failures" -eq 0 ]
