#!/bin/sh
# Merges TaZEN's actions into Thunar's uca.xml and takes them out again: the result is well-formed XML to
# xmllint, the user's own actions stay byte for byte, and a file Thunar has saved since loses only TaZEN's.
# usage: thunar_actions_test.sh SOURCE_DIR
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

script=$1/desktop/filemanagers/thunar-actions
work=$(mktemp -d "${TMPDIR:-/tmp}/tazen-thunar-test.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CONFIG_DIRS="$work/system"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
well_formed() {
    if command -v xmllint >/dev/null 2>&1; then
        xmllint --noout "$1" || fail "xmllint rejects $2"
    fi
}
sed 's|@TAZEN_XML@|"/opt/a\&amp;b/bin/tazen"|' "$1/desktop/filemanagers/thunar-actions.xml.in" >"$work/actions.xml"
uca=$XDG_CONFIG_HOME/Thunar/uca.xml
# Encrypt, Decrypt (files and folders) and Open.
ours=$(grep -c '<unique-id>io.codeberg.tazen' "$work/actions.xml")
[ "$ours" = 4 ] || fail "the actions file holds $ours of TaZEN's actions, not 4"
mkdir -p "$XDG_CONFIG_HOME/Thunar" "$work/system/Thunar"

# The user's own file: an odd layout, a non-ASCII name, CRLF line ends and no line end at the end.
for user in plain crlf; do
    printf '%b\n' '<?xml version="1.0" encoding="UTF-8"?>' '<actions>' '<action>' '	<name>Öffnen</name>' \
        '	<unique-id>1-2</unique-id>' '	<command>x %f</command>' '	<text-files/>' '</action>' >"$work/$user"
    printf '  </actions>' >>"$work/$user"
    [ $user = plain ] || sed -i 's/$/\r/' "$work/$user"
    cp "$work/$user" "$uca"
    "$script" merge "$work/actions.xml" >/dev/null
    well_formed "$uca" "the merged $user uca.xml"
    [ "$(grep -c '<unique-id>io.codeberg.tazen' "$uca")" = "$ours" ] || fail "the merged $user uca.xml lacks TaZEN's actions"
    # Byte for byte, so the translated names and descriptions arrive as they are.
    sed -n '/<!-- TaZEN.s actions: /,/<!-- end of TaZEN.s actions -->/p' "$uca" | sed '1d;$d' | cmp -s - "$work/actions.xml" ||
        fail "the merged $user uca.xml does not hold TaZEN's actions as they are"
    "$script" merge "$work/actions.xml" >/dev/null
    [ "$(grep -c '<unique-id>io.codeberg.tazen' "$uca")" = "$ours" ] || fail "a second merge does not replace the first"
    "$script" unmerge >/dev/null
    cmp -s "$work/$user" "$uca" || fail "merge and unmerge changed the user's $user uca.xml"
done

# Thunar's editor writes every action anew and drops comments.
"$script" merge "$work/actions.xml" >/dev/null
grep -v '^<!--' "$uca" >"$work/saved"
cp "$work/saved" "$uca"
"$script" unmerge >/dev/null
grep -q '<unique-id>io.codeberg.tazen' "$uca" && fail "unmerge kept TaZEN's actions in a file Thunar saved"
grep -q '<name>Öffnen</name>' "$uca" || fail "unmerge took the user's action from a file Thunar saved"
well_formed "$uca" "the unmerged uca.xml Thunar saved"

# Without a file of the user's, the system's default actions come along, as Thunar showed them.
rm "$uca"
printf '%s\n' '<?xml version="1.0"?>' '<actions>' '<action><name>Terminal</name><unique-id>2</unique-id></action>' \
    '</actions>' >"$work/system/Thunar/uca.xml"
"$script" merge "$work/actions.xml" >/dev/null
grep -q '<name>Terminal</name>' "$uca" || fail "a new uca.xml lacks the system's default actions"
well_formed "$uca" "a new uca.xml"
"$script" unmerge >/dev/null
cmp -s "$work/system/Thunar/uca.xml" "$uca" || fail "unmerge of a new uca.xml does not leave the defaults"

# A file that is not an actions list is left alone.
printf 'not xml' >"$uca"
"$script" merge "$work/actions.xml" 2>/dev/null && fail "merge into a file without </actions> succeeded"
[ "$(cat "$uca")" = "not xml" ] || fail "a failed merge changed uca.xml"

if [ "$failures" -ne 0 ]; then
    echo "$failures failed" >&2
    exit 1
fi
echo "all Thunar action checks passed"
