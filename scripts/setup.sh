#!/usr/bin/env bash
# Installs every Debian package the build, the application and the tests need.
# Idempotent: when all packages are present it only checks and returns.
set -euo pipefail

PACKAGES=(
  # toolchain
  g++ cmake ninja-build clang-format
  # Win32 from Wine: runtime, winegcc/wineg++/wrc, headers, Wine's own fonts
  wine64 wine64-tools libwine-dev fonts-wine
  # headless display for windows under test, and the start script's screenshot
  # of a run without a display
  xvfb xauth imagemagick
  # native libraries the system calls
  zlib1g-dev libjpeg-dev libgsm1-dev libtinyxml-dev libpodofo-dev nettle-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # reference decoder and reader of audio files for the recording tests
  sox
  # real archivers the ZIP tests check our archives with and read archives of:
  # Info-ZIP zip/unzip/zipinfo, 7-Zip, bsdtar, Python's zipfile
  zip unzip p7zip-full libarchive-tools python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
