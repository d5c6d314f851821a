#!/usr/bin/env bash
# Installs every tool and library the build and the tests need, on a Debian 12
# machine, then builds the Windows dependencies into the build folder.
# A second run finds everything in place and changes nothing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"

packages=(
  build-essential cmake ninja-build pkg-config git dpkg-dev file
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev nasm
  wine wine64 xvfb xserver-xephyr xauth x11-utils xdotool imagemagick libgl1 libgl1-mesa-dri
  libpng-dev libjpeg62-turbo-dev libwebp-dev webp zlib1g-dev libgtest-dev libbenchmark-dev
  googletest libfreetype-dev fonts-dejavu-core libgl-dev mesa-common-dev
  clang libclang-rt-14-dev clang-format nsis openssl python3
  libx11-dev libglx-dev xscreensaver xscreensaver-data
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

"$here/build-windows-deps.sh"
