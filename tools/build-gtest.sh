#!/usr/bin/env bash
# Cross-builds GoogleTest from Debian's sources (/usr/src/googletest) for one
# architecture into the third-party cache, keyed by its package version.
#   build-gtest.sh ARCH CACHE_DIR   -> prints the install prefix
set -euo pipefail
arch=$1 cache=$2
here=$(cd "$(dirname "$0")/.." && pwd)
ver=$(dpkg-query -W -f='${Version}' googletest)
gcc=$($arch-w64-mingw32-g++-posix -dumpfullversion)
prefix="$cache/$arch/googletest-$ver-gcc$gcc"
if [ -f "$prefix/.done" ]; then echo "$prefix"; exit 0; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "third-party: building googletest $ver for $arch" >&2
cmake -S /usr/src/googletest -B "$work" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=ON >/dev/null
cmake --build "$work" >/dev/null
cmake --install "$work" >/dev/null
touch "$prefix/.done"
echo "$prefix"
