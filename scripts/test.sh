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

# A display of our own, so that tests never meet a desktop's windows or focus.
display=""
for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "test: no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all DISPLAY=$display
cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

# One server for the whole run: each test program then starts in a tenth of a
# second instead of bringing up Wine's services again. A first program must run
# alone after the server starts: a burst of first programs can hang in Wine's
# own start-up.
"$WINESERVER" -k >/dev/null 2>&1 || true # a server left by an earlier run or program
"$WINESERVER" -p
"$build/wine-run" cmd.exe /c exit

bash "$root/scripts/build.sh" "$build"

start=$(date +%s)
status=0
bash "$root/scripts/ctest-twice.sh" "$build" "$(nproc)" || status=$?
echo "tests took $(( $(date +%s) - start )) s"
exit $status
