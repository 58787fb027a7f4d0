#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; quick when all are there.
set -euo pipefail

packages=(
  cmake make g++ googletest clang-14 libclang-rt-14-dev clang-tidy-14
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 fonts-wine
  xvfb xserver-xephyr xserver-xorg-core xserver-xorg-video-dummy xdotool x11-apps x11-utils x11-xserver-utils
  imagemagick
  python3 python3-pil fonts-dejavu-core
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils ghostscript
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Run as root, or install them with apt-get." >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
