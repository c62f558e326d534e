#!/bin/sh
# CTest's emulator for the Windows test programs: runs one under 64-bit Wine in
# the build's prefix.
#
#   wine-run.sh <prefix> <program.exe> [arguments]
#
# scripts/test-windows.sh makes the prefix and keeps a wineserver and an X
# server running around the whole suite; without them each start is slower
# but still works.
set -eu
prefix=$1
shift
if [ ! -f "$prefix/system.reg" ]; then
    echo "wine-run.sh: no Wine prefix at $prefix (scripts/test-windows.sh makes one)" >&2
    exit 2
fi
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# Wine's own dialogs (crash reports, Mono and Gecko installers) would wait for a click.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
exec /usr/lib/wine/wine64 "$@"
