#!/usr/bin/env bash
# Sets up the machine, builds everything and starts the application on $DISPLAY.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZM_BUILD_DIR:-$root/build}

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build"

app=$build/app/ZelDorvane.exe.so
if [ ! -f "$app" ]; then
    echo "run: the build has passed; the application itself is not part of the tree yet."
    exit 0
fi
exec "$build/wine-run" "$app"
