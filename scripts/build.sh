#!/usr/bin/env bash
# Configures (once) and builds the tree with Ninja into the folder $1 (default build/).
# The Wine prefix of the build is made here too, so that test discovery finds it ready.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
# Wine wants an absolute prefix path, so a folder given relative to here is made absolute.
mkdir -p "$build"
build=$(cd "$build" && pwd)

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja >/dev/null
fi
bash "$root/scripts/wineprefix.sh" "$build/wineprefix"
cmake --build "$build" --parallel "$(nproc)"
