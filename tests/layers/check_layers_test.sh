#!/bin/sh
# scripts/check-layers passes this repository's sources and fails on every include a layer may not make: a
# higher layer, a layer beside it, Qt below src/ui, a system header outside src/platform; in a folder of its own.
# usage: check_layers_test.sh REPOSITORY
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
repository=$1
check=$repository/scripts/check-layers
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {
    # expect pass|fail WHAT FOLDER [TEXT]: and, on a failure, TEXT among what it says
    if "$check" "$3" >"$work/out" 2>&1; then got=pass; else got=fail; fi
    if [ "$got" != "$1" ]; then
        echo "FAIL: $2: check-layers should $1 but did not:"
        cat "$work/out"
        failures=$((failures + 1))
    elif [ $# -gt 3 ] && ! grep -qF -- "$4" "$work/out"; then
        echo "FAIL: $2: check-layers did not say '$4':"
        cat "$work/out"
        failures=$((failures + 1))
    fi
}

if ! "$check" "$repository/src" >"$work/out" 2>&1; then
    echo "FAIL: the repository's sources should keep to their layers:"
    cat "$work/out"
    failures=$((failures + 1))
fi

plant() {
    # plant LAYER LINES: a tree with the lines in src/LAYER/planted.cpp
    rm -rf "$work/src"
    mkdir -p "$work/src/$1"
    printf '%s\n' "$2" >"$work/src/$1/planted.cpp"
}
# layer | include | should | what it says
while IFS='|' read -r layer line outcome says; do
    plant "$layer" "$line"
    expect "$outcome" "src/$layer with $line" "$work/src" "$says"
done <<'TABLE'
engine|#include "ui/main.h"|fail|planted.cpp:1:#include "ui/main.h"   <- src/engine may not include ui
platform|  #  include "engine/crypto.h"|fail|src/platform may not include engine
cli|#include "ui/interaction.h"|fail|src/cli may not include ui
engine|#include <QString>|fail|Qt below src/ui
cipher|#include <QtCore/QByteArray>|fail|Qt below src/ui
extractor|#include "engine/crypto.h"|fail|src/extractor may not include engine
format|#include "platform/files.h"|fail|src/format may not include platform
format|#include "engine/crypto.h"|fail|src/format may not include engine
ui|#include <unistd.h>|fail|planted.cpp:1:#include <unistd.h>   <- <unistd.h> outside src/platform
cli|#include <fcntl.h>|fail|<fcntl.h> outside src/platform
engine|#include <sys/stat.h>|fail|<sys/stat.h> outside src/platform
extractor|  # include <termios.h>|fail|<termios.h> outside src/platform
app|#include <signal.h>|fail|<signal.h> outside src/platform
cli|#include <dirent.h>|fail|<dirent.h> outside src/platform
ui|#include <poll.h>|fail|<poll.h> outside src/platform
extractor|#include "format/reader.h"|pass|
engine|#include "format/writer.h"|pass|
format|#include "cipher/blowfish.h"|pass|
platform|#include <sys/stat.h>|pass|
extractor|#include <windows.h>|fail|<windows.h> outside src/platform/windows
platform|#include <Windows.h>|fail|<Windows.h> outside src/platform/windows
engine|#include <fileapi.h>|fail|<fileapi.h> outside src/platform/windows
TABLE

plant ui '#include <QString>
#include "engine/crypto.h"
#include "ui/dialogs/gauge.h"'
expect pass "the window including Qt, the engine and its dialogs" "$work/src"
plant extractor '#include "format/fileformat.h"
#include "platform/files.h"
#include <cstring>
#include <elf.h>'
expect pass "the extractor including the format, the platform and the standard library" "$work/src"

rm -rf "$work/src"
mkdir -p "$work/src/platform/windows"
printf '#include <windows.h>\n#include "platform/windows/text.h"\n' >"$work/src/platform/windows/planted.cpp"
expect pass "the platform's Windows part including <windows.h>" "$work/src"

[ "$failures" -eq 0 ] && echo "check-layers: every case as expected"
exit "$failures"
