#!/bin/sh
# TaZEN's file types against the system's: a self-extracting executable is TaZEN's own type, not a DOS/Windows
# program, whatever it begins with; a plain .exe and a name in another letter case stay what they were.
# Uses shared-mime-info's own database builder and GIO's lookup in a MIME folder of the test's own. Exits 77
# (skipped), saying why, where a tool or the system's type list is missing.
# usage: mime_test.sh SOURCE_DIR
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

system=/usr/share/mime/packages/freedesktop.org.xml
for tool in update-mime-database gio; do
    if ! command -v $tool >/dev/null 2>&1; then
        echo "skipped: $tool is not installed (shared-mime-info, libglib2.0-bin)"
        exit 77
    fi
done
[ -f $system ] || { echo "skipped: no $system"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tazen-mime-test.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
mkdir -p "$work/data/mime/packages" "$work/home" "$work/files"
cp $system "$1/desktop/tazen.xml" "$work/data/mime/packages/"
update-mime-database "$work/data/mime" 2>/dev/null

files=$work/files
printf 'MZ\220\000\003' >"$files/report.doc.TaZEN.exe"  # the Windows extractor's start
printf 'MZ\220\000\003' >"$files/REPORT.TaZEN.EXE"
printf '\177ELF\002\001' >"$files/photo.jpg.TaZEN.exe"  # the Linux extractor's
printf 'MZ\220\000\003' >"$files/setup.exe"
printf 'MZ\220\000\003' >"$files/other.tazen.exe"       # TaZEN takes .TaZEN in that case only
printf 'encrypted' >"$files/notes.txt.TaZEN"

failed=0
expect() {
    got=$(XDG_DATA_DIRS="$work/data" XDG_DATA_HOME="$work/home" gio info -a standard::content-type "$files/$1" |
        sed -n 's/^ *standard::content-type: //p')
    if [ "$got" = "$2" ]; then
        echo "ok: $1 is $2"
    else
        echo "FAILED: $1 is $got, not $2"
        failed=1
    fi
}
expect report.doc.TaZEN.exe application/x-tazen-executable
expect REPORT.TaZEN.EXE application/x-tazen-executable
expect photo.jpg.TaZEN.exe application/x-tazen-executable
expect setup.exe application/x-ms-dos-executable
expect other.tazen.exe application/x-ms-dos-executable
expect notes.txt.TaZEN application/x-tazen-encrypted
exit $failed
