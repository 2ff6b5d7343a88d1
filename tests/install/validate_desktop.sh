#!/bin/sh
# Checks the software centre's metadata with appstreamcli, or the desktop entries with desktop-file-validate,
# as the desktops' own tools read them. Exits 77 (skipped), saying why, where the tool is missing.
# usage: validate_desktop.sh appstream|entries SOURCE_DIR
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

what=$1
desktop=$2/desktop
case "$what" in
appstream)
    if ! command -v appstreamcli >/dev/null 2>&1; then
        echo "skipped: appstreamcli is not installed (scripts/install-deps installs appstream)"
        exit 77
    fi
    # Pedantic, so a warning or a hint fails too; without the network, which tests never use.
    appstreamcli validate --pedantic --no-net "$desktop/io.codeberg.tazen.metainfo.xml"
    # The screenshots it names are those of make screenshots kept in docs/screenshots/.
    for url in $(sed -n 's|.*<image[^>]*>\(.*\)</image>.*|\1|p' "$desktop/io.codeberg.tazen.metainfo.xml"); do
        [ -f "$2/docs/screenshots/${url##*/}" ] || { echo "no docs/screenshots/${url##*/} for $url"; exit 1; }
    done
    ;;
entries)
    if ! command -v desktop-file-validate >/dev/null 2>&1; then
        echo "skipped: desktop-file-validate is not installed (scripts/install-deps installs desktop-file-utils)"
        exit 77
    fi
    work=$(mktemp -d "${TMPDIR:-/tmp}/tazen-desktop-test.XXXXXX")
    trap 'rm -rf "$work"' EXIT INT TERM
    failed=0
    # The entries as an installation below /usr writes them. Dolphin's service menus are KDE's own kind
    # (Type=Service), which the freedesktop.org validator does not know.
    for template in "$desktop"/io.codeberg.tazen*.desktop.in; do
        entry=$work/$(basename "$template" .in)
        sed 's|@TAZEN_EXEC@|/usr/bin/tazen|g' "$template" >"$entry"
        # Errors and warnings fail; hints (a category that could be more specific) are only shown.
        output=$(desktop-file-validate "$entry" 2>&1) || failed=1
        [ -z "$output" ] || echo "$output"
        if echo "$output" | grep -q -e ': error: ' -e ': warning: '; then
            failed=1
        fi
        echo "checked $(basename "$entry")"
    done
    exit $failed
    ;;
*)
    echo "usage: $0 appstream|entries SOURCE_DIR" >&2
    exit 2
    ;;
esac
