#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Zorvak.
# Idempotent: does nothing when every package is already present.
set -euo pipefail

packages=(
  cmake ninja-build make pkg-config
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  libz-mingw-w64-dev googletest
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  sox lame twolame mpg123 flac vorbis-tools opus-tools
  id3v2 eyed3 python3-mutagen
  dpkg-dev patch bzip2 xz-utils make ccache python3-pil fonts-dejavu-core
  clang-14 libclang-rt-14-dev llvm-14 libtag1-dev
  nasm ffmpeg
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
