#!/usr/bin/env bash
# Runs the Windows test suite of a cross build under Wine, headless: makes the
# build's Wine prefix on first use, starts a private Xvfb server and one
# persistent wineserver for the whole run, runs CTest, and stops both again.
#
#   ./scripts/test-windows.sh [build dir] [extra ctest arguments]
#
# Environment: KALVIOR_JOBS (default: nproc).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build-win}" && pwd) # Wine takes only an absolute prefix
shift || true
jobs=${KALVIOR_JOBS:-$(nproc)}
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

# A display of our own: Wine wants one for anything that touches windows, and
# the host's must stay out of the tests.
display=
xvfb_pid=
for candidate in $(seq 90 130); do
    if [ ! -e "/tmp/.X11-unix/X$candidate" ] && [ ! -e "/tmp/.X$candidate-lock" ]; then
        display=":$candidate"
        break
    fi
done
cleanup() {
    "$wineserver" -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
if [ -n "$display" ]; then
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X${display#:}" ] && break
        sleep 0.1
    done
    export DISPLAY="$display"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX"
    "$wine64" wineboot -u </dev/null >/dev/null 2>&1
    # Text drawn in "Arial" gets the metric-compatible font Debian has.
    "$wine64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f \
        </dev/null >/dev/null 2>&1
    # The registry reaches the disk when the server that made it exits.
    "$wineserver" -w
fi
# One server for the whole suite; every stream redirected, or Wine's services
# keep a pipe open and the caller never sees end of file.
"$wineserver" -p </dev/null >/dev/null 2>&1 || true # already running: keep it
"$wine64" wineboot </dev/null >/dev/null 2>&1 || true

ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$jobs" "$@"
