#!/usr/bin/env bash
# The two extractors side by side: their sizes, the Windows one's imports, and each restoring one 64 MiB file
# in the same run, the Windows one under Wine.
# SPDX-License-Identifier: GPL-3.0-or-later
#
#   bench/extractors.sh BIN_FOLDER
#
# BIN_FOLDER holds tazen-cli, extractor and extractor-windows.exe. Files go to a fresh folder under
# TAZEN_BENCH_DIR, else /dev/shm, else TMPDIR or /tmp, removed at the end. Wine gets a prefix of its own there
# unless TAZEN_WINE_PREFIX names one made before (the first start of a new prefix takes its wineboot, which is
# not timed). Each time is the median of TAZEN_COMPARE_RUNS runs (default 3), wall-clock, process start
# included.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 BIN_FOLDER" >&2
    exit 2
fi
cli="$1/tazen-cli"
linux="$1/extractor"
windows="$1/extractor-windows.exe"
for program in "$cli" "$linux" "$windows"; do
    if [ ! -f "$program" ]; then
        echo "extractors.sh: $program is missing; build the project first" >&2
        exit 1
    fi
done
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
runs="${TAZEN_COMPARE_RUNS:-3}"
mib=1048576
size=$((64 * mib))

if [ -n "${TAZEN_BENCH_DIR:-}" ]; then
    base=$TAZEN_BENCH_DIR
elif [ -d /dev/shm ] && [ -w /dev/shm ]; then
    base=/dev/shm
else
    base=${TMPDIR:-/tmp}
fi
work="$(mktemp -d "$base/tazen-extractors-XXXXXX")"
export WINEPREFIX="${TAZEN_WINE_PREFIX:-$work/prefix}"
export WINEDEBUG=-all
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "sizes (bytes):"
printf '  %-24s %10d\n' extractor "$(stat -c %s "$linux")" extractor-windows.exe "$(stat -c %s "$windows")"
echo "extractor-windows.exe imports:"
x86_64-w64-mingw32-objdump -p "$windows" | grep 'DLL Name' | sed 's/^[[:space:]]*/  /'

head -c "$size" /dev/urandom >"$work/data.bin"
printf 'bench\n' | "$cli" encrypt --source keep --no-self-extracting --password-stdin "$work/data.bin" >/dev/null 2>&1
cat "$linux" "$work/data.bin.TaZEN" >"$work/linux.bin.TaZEN.exe"
cat "$windows" "$work/data.bin.TaZEN" >"$work/windows.bin.TaZEN.exe"
chmod +x "$work/linux.bin.TaZEN.exe"
expected=$(sha256sum <"$work/data.bin" | cut -d' ' -f1)

mkdir -p "$WINEPREFIX"
"$wineserver" -p
[ -f "$WINEPREFIX/system.reg" ] || WINEDLLOVERRIDES="mscoree,mshtml=" "$wine64" wineboot -i

# time_run NAME COMMAND...: the median seconds of the runs, each restoring $work/NAME afresh and checked.
time_run() {
    local name=$1
    shift
    local times=()
    for _ in $(seq "$runs"); do
        rm -f "$work/$name"
        local start end
        start=$(date +%s.%N)
        printf 'bench\n' | "$@" --password-stdin >/dev/null
        end=$(date +%s.%N)
        if [ "$(sha256sum <"$work/$name" | cut -d' ' -f1)" != "$expected" ]; then
            echo "extractors.sh: $name was not restored byte for byte" >&2
            exit 1
        fi
        times+=("$(echo "$end - $start" | bc -l)")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

# One start of Wine's own before the timing, so that neither run pays for loading the prefix.
"$wine64" "$work/windows.bin.TaZEN.exe" --list >/dev/null
linux_time=$(time_run linux.bin "$work/linux.bin.TaZEN.exe")
windows_time=$(time_run windows.bin "$wine64" "$work/windows.bin.TaZEN.exe")
echo "restoring one 64 MiB file (median of $runs, in $base):"
for pair in "extractor:$linux_time" "extractor-windows.exe (Wine):$windows_time"; do
    name=${pair%%:*}
    seconds=${pair##*:}
    printf '  %-30s %7.3f s %8.1f MB/s\n' "$name" "$seconds" "$(echo "$size / 1000000 / $seconds" | bc -l)"
done
