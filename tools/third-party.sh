#!/usr/bin/env bash
# Builds (once, cached by package version) every third-party library for one
# architecture and prints the install prefixes, one a line.
#   third-party.sh ARCH CACHE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
arch=$1 cache=$2
lib() { "$here/build-debian-lib.sh" "$arch" "$cache" "$@"; }

"$here/build-gtest.sh" "$arch" "$cache"
ogg=$(lib libogg); echo "$ogg"
lib libvorbis "$ogg"
opus=$(lib opus); echo "$opus"
lib opusfile "$ogg" "$opus"
lib flac "$ogg"
lib mpg123
lib taglib
lib ffmpeg
