#!/usr/bin/env bash
# Sets up the machine, builds everything and runs all tests headless: Xvfb is
# started for the windows under test and stopped at the end, with the build's
# Wine server. Ends with the line "tests: N passed, N failed".
set -euo pipefail
trap 'echo "test: stopped by a failure at line $LINENO" >&2' ERR
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZM_BUILD_DIR:-$root/build}
WINESERVER=/usr/lib/wine/wineserver

bash "$root/scripts/setup.sh"
bash "$root/scripts/check-format.sh"
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja >/dev/null
bash "$root/scripts/wineprefix.sh" "$build/wineprefix"

# Displays of our own, so that tests never meet a desktop's windows or focus: one
# for the tests that run side by side, one for those that need the focus, the
# cursor or the screen to themselves (with their own Wine prefix and server).
free_display() {
    for n in $(seq "$1" 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then echo ":$n"; return; fi
    done
}
display=$(free_display 90)
[ -n "$display" ] || { echo "test: no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
serial_display=$(free_display $((${display#:} + 1)))
[ -n "$serial_display" ] || { echo "test: no second free X display" >&2; exit 1; }
Xvfb "$serial_display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
serial_xvfb_pid=$!
serial_prefix=$build/wineprefix-serial
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all DISPLAY=$display
export ZM_SERIAL_DISPLAY=$serial_display ZM_SERIAL_PREFIX=$serial_prefix
cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    WINEPREFIX=$serial_prefix "$WINESERVER" -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" "$serial_xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

# One server for each prefix for the whole run: each test program then starts in a
# tenth of a second instead of bringing up Wine's services again. A first program
# must run alone after the server starts: a burst of first programs can hang in
# Wine's own start-up.
"$WINESERVER" -k >/dev/null 2>&1 || true # a server left by an earlier run or program
"$WINESERVER" -p
"$build/wine-run" cmd.exe /c exit
bash "$root/scripts/wineprefix.sh" "$serial_prefix"
WINEPREFIX=$serial_prefix "$WINESERVER" -k >/dev/null 2>&1 || true
WINEPREFIX=$serial_prefix "$WINESERVER" -p
ZM_TEST_WINEPREFIX=$serial_prefix DISPLAY=$serial_display "$build/wine-run" cmd.exe /c exit

bash "$root/scripts/build.sh" "$build"

start=$(date +%s)
status=0
bash "$root/scripts/ctest-twice.sh" "$build" "$(nproc)" || status=$?
echo "tests took $(( $(date +%s) - start )) s"
exit $status
