#!/usr/bin/env bash
# Sets up the machine, builds everything and starts the application with a
# folder of sample recordings. With a display ($DISPLAY) the window opens there;
# without one the program runs under Xvfb, a screenshot of its main window is
# kept, and the script says where it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZM_BUILD_DIR:-$root/build}
WINESERVER=/usr/lib/wine/wineserver

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build"
build=$(cd "$build" && pwd)
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all

app=$build/app/main/ZelDorvane.exe.so
samples=$build/sample-recordings
mkdir -p "$samples"
windows_path() { echo "Z:$1" | tr '/' '\\'; }

headless=""
if [ -z "${DISPLAY:-}" ]; then
    headless=yes
    for n in $(seq 150 199); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then DISPLAY=":$n"; break; fi
    done
    [ -n "${DISPLAY:-}" ] || { echo "run: no free X display for Xvfb" >&2; exit 1; }
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill $xvfb_pid >/dev/null 2>&1 || true' EXIT
    export DISPLAY
fi

# A Wine server of this prefix left by another run keeps its desktop on the
# display it started with; the program must meet its desktop on ours.
"$WINESERVER" -k >/dev/null 2>&1 || true

# The samples, and on a first run a profile that opens them at start-up.
# The samples are named after their start times, which lie before now: they are
# written once, so that the profile's history keeps naming them.
if ! ls "$samples"/*.zel >/dev/null 2>&1; then
    "$build/wine-run" "$build/tests/tools/make_sample_recordings.exe.so" \
        "$(windows_path "$samples")" --first-run-profile >/dev/null
fi
echo "run: sample recordings in $samples (the encrypted ones open with the passphrase moxel-sample)"

if [ -z "$headless" ]; then
    exec "$build/wine-run" "$app"
fi

shot=$build/zelmoxel-main-window.png
rm -f "$shot"
"$build/wine-run" "$app" &
app_pid=$!
status=0
if "$build/wine-run" "$build/tests/tools/wait_for_window.exe.so" "Zel Moxel" 120; then
    import -window root -display "$DISPLAY" "$shot" || status=$?
    "$build/wine-run" "$build/tests/tools/wait_for_window.exe.so" "Zel Moxel" 10 --close || true
else
    status=1
fi
wait "$app_pid" || true
"$WINESERVER" -k >/dev/null 2>&1 || true
if [ "$status" -ne 0 ] || [ ! -s "$shot" ]; then
    echo "run: the main window did not appear; no screenshot" >&2
    exit 1
fi
echo "run: no display here, so the program ran under Xvfb; its main window: $shot"
