#!/usr/bin/env bash
# Makes the Wine prefix given as $1 ready for the program and its tests, once:
# the prefix itself, Wine's own TrueType fonts in C:\windows\Fonts (without them
# "Marlett" and "Tahoma" resolve to another face), and frames drawn by Wine itself
# (X11 driver "Managed" = "N"), which Xvfb needs since it has no window manager.
# Safe to call from several processes at once: the first one builds, the others wait.
set -euo pipefail
prefix=${1:?usage: wineprefix.sh PREFIX}
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.ready" ] && exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$WINE" wineboot --init >/dev/null 2>&1 || true
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -f /usr/share/wine/fonts/*.ttf "$fonts/"
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
"$WINESERVER" -w
touch "$prefix/.ready"
