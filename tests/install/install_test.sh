#!/bin/sh
# Installs a build into private prefixes with scripts/install-desktop, checks what the desktop reads and runs
# the programs through their launchers, then uninstalls and checks that nothing of TaZEN's is left but the
# user's settings and files that were there before.
# usage: install_test.sh SOURCE_DIR BUILD_DIR
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

script=$1/scripts/install-desktop
build=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/tazen-install-test.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
# The cache tools and GIO may look at the user's folders; these are private too.
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_DATA_DIRS="$work/no-system-data"
mkdir -p "$HOME"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Installed files as paths relative to PREFIX, sorted. The caches the desktop's tools generate are not
# counted: of the MIME database only share/mime/packages holds sources.
installed_files() {
    (cd "$1" && find . -path ./share/mime -prune -o \( -type f -o -type l \) -print &&
        if [ -d share/mime/packages ]; then find ./share/mime/packages \( -type f -o -type l \) -print; fi) |
        sed 's|^\./||' | grep -v -x -e share/applications/mimeinfo.cache -e 'share/icons/.*/icon-theme.cache' |
        LC_ALL=C sort
}

# The width and height a PNG file's header gives, as "WxH".
png_size() {
    signature=$(od -An -tx1 -N8 "$1" | tr -d ' \n')
    [ "$signature" = 89504e470d0a1a0a ] || {
        echo "not a PNG"
        return
    }
    set -- $(od -An -tu1 -j16 -N8 "$1")
    echo "$(($1 * 16777216 + $2 * 65536 + $3 * 256 + $4))x$(($5 * 16777216 + $6 * 65536 + $7 * 256 + $8))"
}

prefix=$work/prefix
# What the user had there before stays.
mkdir -p "$prefix/bin" "$prefix/share/applications"
echo 'echo other' >"$prefix/bin/other-program"
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=other-program\n' >"$prefix/share/applications/other.desktop"
# An earlier version's Open With entry for every file type, which an upgrade takes away.
printf '[Desktop Entry]\nType=Application\nName=Encrypt with TaZEN\nExec=%s --encrypt %%F\n%s\n' "$prefix/bin/tazen" \
    'MimeType=application/octet-stream;' >"$prefix/share/applications/io.codeberg.tazen.encrypt.desktop"

"$script" "$build" "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2
    fail "install-desktop $build $prefix failed"
    exit 1
}

echo "== the program folder and the launchers"
for program in tazen tazen-cli extractor; do
    [ -x "$prefix/lib/tazen/$program" ] || fail "lib/tazen/$program is not an installed program"
done
[ -f "$prefix/lib/tazen/help_en.html" ] || fail "lib/tazen/help_en.html is missing"
for program in tazen tazen-cli; do
    [ -L "$prefix/bin/$program" ] || fail "bin/$program is not a symbolic link"
    [ "$(readlink "$prefix/bin/$program")" = "../lib/tazen/$program" ] ||
        fail "bin/$program points to $(readlink "$prefix/bin/$program"), not ../lib/tazen/$program"
done
"$prefix/bin/tazen-cli" --version | grep -q '^tazen-cli (TaZEN) ' || fail "bin/tazen-cli --version does not run"

# tazen-cli started through its launcher finds the extractors beside its real executable: the Linux one when
# asked for, the Windows one by default (where this build makes it).
mkdir "$work/data"
printf 'secret\n' >"$work/password"
for recipient in linux windows; do
    extractor=$prefix/lib/tazen/extractor
    option=--self-extracting=linux
    if [ $recipient = windows ]; then
        [ -f "$build/bin/extractor-windows.exe" ] || continue
        extractor=$prefix/lib/tazen/extractor-windows.exe
        option=--self-extracting
        [ -f "$extractor" ] || fail "lib/tazen/extractor-windows.exe is not installed"
    fi
    echo "quarterly figures" >"$work/data/report.doc"
    if "$prefix/bin/tazen-cli" encrypt --quiet --password-file "$work/password" $option \
        "$work/data/report.doc" >"$work/encrypt.log" 2>&1; then
        size=$(wc -c <"$extractor")
        cmp -s -n "$size" "$extractor" "$work/data/report.doc.TaZEN.exe" ||
            fail "the executable of tazen-cli encrypt $option does not begin with lib/tazen/${extractor##*/}"
    else
        cat "$work/encrypt.log" >&2
        fail "bin/tazen-cli encrypt $option failed"
    fi
    rm -f "$work/data/report.doc.TaZEN.exe" "$work/data/report.doc"
done

echo "== the manifest lists every installed file and nothing else"
installed_files "$prefix" | grep -v -x -e bin/other-program -e share/applications/other.desktop \
    >"$work/found"
LC_ALL=C sort "$prefix/lib/tazen/install_manifest.txt" >"$work/listed"
diff "$work/listed" "$work/found" >"$work/difference" || {
    cat "$work/difference" >&2
    fail "lib/tazen/install_manifest.txt (<) differs from the installed files (>)"
}

echo "== the desktop entries and the file managers' actions"
entry=$prefix/share/applications/io.codeberg.tazen.desktop
grep -q -x "Exec=$prefix/bin/tazen %f" "$entry" || fail "Exec is not $prefix/bin/tazen %f: $(grep '^Exec=' "$entry")"
for mode in encrypt decrypt; do
    grep -q -x "Exec=$prefix/bin/tazen --$mode %F" "$entry" || fail "the menu entry has no $mode action"
    menu=$prefix/share/kio/servicemenus/io.codeberg.tazen.$mode.desktop
    grep -q -x "Exec=$prefix/bin/tazen --$mode %F" "$menu" || fail "Dolphin's $mode service menu does not start tazen"
    # Dolphin takes a service menu from the user's own folders only when it may be run.
    [ -x "$menu" ] || fail "Dolphin's $mode service menu is not executable"
done
[ ! -e "$prefix/share/applications/io.codeberg.tazen.encrypt.desktop" ] ||
    fail "the upgrade left the earlier Open With entry for every file type"
# An Open With entry becomes a type's default after one use in some file managers: only TaZEN's own types.
for entry in "$prefix"/share/applications/io.codeberg.tazen*.desktop; do
    others=$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n' | grep -v -x -e '' -e application/x-tazen-encrypted \
        -e application/x-tazen-executable || true)
    [ -z "$others" ] || fail "${entry##*/} claims types that are not TaZEN's: $others"
done
grep -q -x 'MimeType=all/all;' "$prefix/share/kio/servicemenus/io.codeberg.tazen.encrypt.desktop" ||
    fail "Dolphin's encrypt service menu is not offered for files and folders"
grep -q -x 'MimeType=.*inode/directory;' "$prefix/share/kio/servicemenus/io.codeberg.tazen.decrypt.desktop" ||
    fail "Dolphin's decrypt service menu is not offered for folders"
# GNOME Files runs its extensions with the system's Python; another one first on PATH may lack PyGObject.
python=python3
[ ! -x /usr/bin/python3 ] || ! /usr/bin/python3 -c 'import gi' 2>/dev/null || python=/usr/bin/python3
"$python" "$(dirname "$0")/filemanager_actions_test.py" "$prefix" "$(dirname "$0")/standin" ||
    fail "the file managers' actions are not what they read"
grep -q -x "Exec=$prefix/bin/tazen --decrypt %F" "$prefix/share/applications/io.codeberg.tazen.decrypt.desktop" ||
    fail "the Open With entry of encrypted files does not start tazen --decrypt %F"
[ -f "$prefix/share/metainfo/io.codeberg.tazen.metainfo.xml" ] || fail "the metainfo file is missing"
for page in tazen tazen-cli tazen-extractor; do
    gzip -t "$prefix/share/man/man1/$page.1.gz" 2>/dev/null || fail "share/man/man1/$page.1.gz is missing or damaged"
done
"$prefix/bin/tazen-cli" passphrase 3 | grep -q -x '[a-z-]* [a-z-]* [a-z-]*' ||
    fail "bin/tazen-cli passphrase does not find its word list"
grep -q -x 'Icon=tazen' "$entry" || fail "Icon is not tazen"
grep -q -x 'MimeType=application/x-tazen-encrypted;application/x-tazen-executable;' "$entry" ||
    fail "MimeType is not application/x-tazen-encrypted;application/x-tazen-executable;"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects the desktop entry"
fi

echo "== the icons"
for size in 16 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/tazen.png
    if [ -f "$icon" ]; then
        [ "$(png_size "$icon")" = "${size}x$size" ] || fail "$icon is $(png_size "$icon")"
    else
        fail "$icon is missing"
    fi
done

echo "== the MIME type"
grep -q '<mime-type type="application/x-tazen-encrypted">' "$prefix/share/mime/packages/tazen.xml" ||
    fail "tazen.xml does not define application/x-tazen-encrypted"
# The encrypted file's one glob, and the executable's two (mime_test.sh checks what they give).
[ "$(grep -c '<glob ' "$prefix/share/mime/packages/tazen.xml")" = 3 ] &&
    grep -q '<glob pattern="\*\.TaZEN" case-sensitive="true"/>' "$prefix/share/mime/packages/tazen.xml" ||
    fail "tazen.xml does not have the case-sensitive glob *.TaZEN beside the executable's two"
if command -v update-mime-database >/dev/null 2>&1; then
    grep -q -x '50:application/x-tazen-encrypted:\*\.TaZEN:cs' "$prefix/share/mime/globs2" ||
        fail "globs2 does not map *.TaZEN case-sensitively"
    # What a file manager that uses GIO sees: only the exact extension is an encrypted file.
    if command -v gio >/dev/null 2>&1; then
        head -c 64 /dev/zero | tr '\0' '\377' >"$work/data/sample.TaZEN"
        cp "$work/data/sample.TaZEN" "$work/data/sample.tazen"
        for name in sample.TaZEN sample.tazen; do
            type=$(GIO_USE_VFS=local XDG_DATA_HOME="$prefix/share" gio info -a standard::content-type \
                "$work/data/$name" | sed -n 's/^ *standard::content-type: //p')
            case "$name:$type" in
            sample.TaZEN:application/x-tazen-encrypted) ;;
            sample.TaZEN:*) fail "GIO takes sample.TaZEN for $type, not application/x-tazen-encrypted" ;;
            *:application/x-tazen-encrypted) fail "GIO takes $name for an encrypted file" ;;
            esac
        done
    fi
fi

echo "== an odd prefix is quoted in Exec"
odd="$work/my programs\$1"
"$script" "$build" "$odd" >"$work/install-odd.log" 2>&1 || {
    cat "$work/install-odd.log" >&2
    fail "install-desktop $build $odd failed"
}
grep -q -x "Exec=\"$work/my programs\\\\\\\\\$1/bin/tazen\" %f" "$odd/share/applications/io.codeberg.tazen.desktop" ||
    fail "Exec is not quoted as the desktop entry's rules want: $(grep '^Exec=' "$odd/share/applications/io.codeberg.tazen.desktop")"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$odd/share/applications/io.codeberg.tazen.desktop" || fail "desktop-file-validate rejects the quoted Exec"
fi

echo "== uninstall removes what was installed and keeps the settings"
printf '[Files]\nSourceFiles=0\n' >"$prefix/lib/tazen/TaZEN.ini"
cp "$prefix/lib/tazen/TaZEN.ini" "$work/settings"
"$script" --uninstall "$prefix" >"$work/uninstall.log" 2>&1 || {
    cat "$work/uninstall.log" >&2
    fail "install-desktop --uninstall $prefix failed"
}
installed_files "$prefix" >"$work/left"
printf '%s\n' bin/other-program lib/tazen/TaZEN.ini share/applications/other.desktop >"$work/expected"
diff "$work/expected" "$work/left" >"$work/difference" || {
    cat "$work/difference" >&2
    fail "after the uninstall, the prefix holds other files (>) than expected (<)"
}
cmp -s "$work/settings" "$prefix/lib/tazen/TaZEN.ini" || fail "the uninstall changed TaZEN.ini"
grep -q 'TaZEN.ini' "$work/uninstall.log" || fail "the uninstall does not say it kept TaZEN.ini"
if [ -f "$prefix/share/mime/globs2" ] && grep -q -i tazen "$prefix/share/mime/globs2"; then
    fail "the refreshed MIME database still knows *.TaZEN"
fi

rm "$prefix/lib/tazen/TaZEN.ini"
"$script" --uninstall "$odd" >/dev/null 2>&1 || fail "install-desktop --uninstall $odd failed"
[ ! -e "$odd/lib/tazen" ] || fail "the uninstall left an empty lib/tazen in $odd"
if "$script" --uninstall "$odd" >"$work/again.log" 2>&1; then
    fail "a second uninstall does not say that nothing is installed"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures failed" >&2
    exit 1
fi
echo "all install checks passed"
