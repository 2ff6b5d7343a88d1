#!/bin/sh
# scripts/check-layers passes this repository's sources and fails on an upward include or on Qt below
# src/ui, in a folder of its own.
# usage: check_layers_test.sh REPOSITORY
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
repository=$1
check=$repository/scripts/check-layers
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {
    # expect pass|fail WHAT FOLDER
    if "$check" "$3" >"$work/out" 2>&1; then got=pass; else got=fail; fi
    if [ "$got" != "$1" ]; then
        echo "FAIL: $2: check-layers should $1 but did not:"
        cat "$work/out"
        failures=$((failures + 1))
    fi
}

expect pass "the repository's sources" "$repository/src"

plant() {
    # plant LAYER LINE: a tree with the one include in src/LAYER/planted.cpp
    rm -rf "$work/src"
    mkdir -p "$work/src/$1"
    printf '%s\n' "$2" >"$work/src/$1/planted.cpp"
}
plant engine '#include "ui/main.h"'
expect fail "the engine including the window" "$work/src"
plant platform '  #  include "engine/crypto.h"'
expect fail "the platform including the engine, spaced out" "$work/src"
plant cli '#include "ui/interaction.h"'
expect fail "the terminal tool including the window" "$work/src"
plant engine '#include <QString>'
expect fail "Qt in the engine" "$work/src"
plant cipher '#include <QtCore/QByteArray>'
expect fail "Qt in the cipher" "$work/src"
plant ui '#include <QString>
#include "engine/crypto.h"
#include "ui/dialogs/gauge.h"'
expect pass "the window including Qt, the engine and its dialogs" "$work/src"
plant extractor '#include "format/fileformat.h"
#include <cstring>'
expect pass "the extractor including the format code" "$work/src"

[ "$failures" -eq 0 ] && echo "check-layers: every case as expected"
exit "$failures"
