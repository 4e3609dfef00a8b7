#!/usr/bin/env bash
# Cross-builds one library from its Debian source package, static, for one
# architecture, into the third-party cache keyed by package version and
# compiler version; a .done stamp makes a second run free.
#   build-debian-lib.sh ARCH CACHE_DIR PKG [DEPENDENCY_PREFIX...] -> prints the prefix
# Dependency prefixes are those of libraries this one builds against (libogg
# for libvorbis, ...), already built.
set -euo pipefail
arch=$1 cache=$2 pkg=$3
shift 3
deps=("$@")
tools=$(cd "$(dirname "$0")" && pwd)
src_root=$(dirname "$tools")
host=$arch-w64-mingw32

ver=$("$tools/debian-source.sh" version "$pkg")
gcc=$($host-g++-posix -dumpfullversion)
prefix="$cache/$arch/$pkg-${ver#*:}-gcc$gcc"
if [ -f "$prefix/.done" ]; then echo "$prefix"; exit 0; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tools/debian-source.sh" unpack "$pkg" "$ver" "$cache" "$work/src"
echo "third-party: building $pkg $ver for $arch" >&2
start=$(date +%s)
rm -rf "$prefix"
jobs=$(nproc)
log="$work/build.log"

dep_path=$(IFS=';'; echo "${deps[*]:-}")
pc_path=""
for d in "${deps[@]:-}"; do [ -n "$d" ] && pc_path="$pc_path${pc_path:+:}$d/lib/pkgconfig"; done

# CMake projects: the project's own toolchain, dependencies by prefix.
cmake_build() {
  cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$src_root/cmake/toolchain-$arch.cmake" \
    -DZV_THIRD_PARTY_PREFIX="$dep_path" -DCMAKE_PREFIX_PATH="$dep_path" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >>"$log" 2>&1
  cmake --build "$work/build" >>"$log" 2>&1
  cmake --install "$work/build" >>"$log" 2>&1
}

# Autotools projects: only our prefixes on pkg-config's path, never the
# build machine's own libraries.
configure_build() {
  (cd "$work/src" &&
    PKG_CONFIG_LIBDIR="$pc_path" PKG_CONFIG_PATH="" \
    CC=$host-gcc-posix CXX=$host-g++-posix \
    ./configure --host=$host --prefix="$prefix" --disable-shared --enable-static "$@") >>"$log" 2>&1
}

recipe_libogg() {
  cmake_build -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
}

recipe_libvorbis() {
  cmake_build -DBUILD_TESTING=OFF
}

# Its CMake build lacks a file in 1.3.1; and the fortify default would make
# the objects call __memcpy_chk, which MinGW does not have.
recipe_opus() {
  CFLAGS="-O2 -D_FORTIFY_SOURCE=0" configure_build --disable-doc --disable-extra-programs \
    --disable-stack-protector --disable-hardening
  make -C "$work/src" -j"$jobs" >>"$log" 2>&1
  make -C "$work/src" install >>"$log" 2>&1
}

recipe_opusfile() {
  configure_build --disable-http --disable-examples --disable-doc
  make -C "$work/src" -j"$jobs" >>"$log" 2>&1
  make -C "$work/src" install >>"$log" 2>&1
}

recipe_flac() {
  cmake_build -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_TESTING=OFF -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF \
    -DWITH_STACK_PROTECTOR=OFF -DWITH_FORTIFY_SOURCE=OFF -DWITH_OGG=ON
}

# Autotools only: the CMake port defines strcasecmp as _stricmp, which with
# MinGW's inline strcasecmp becomes a function that calls itself forever.
# Only the library is built; the programs need audio back-ends we do not want.
recipe_mpg123() {
  configure_build --disable-modules --with-audio=dummy --with-default-audio=dummy --disable-network
  make -C "$work/src" -j"$jobs" src/libmpg123/libmpg123.la >>"$log" 2>&1
  mkdir -p "$prefix/lib/pkgconfig" "$prefix/include"
  (cd "$work/src" && ./libtool --mode=install install -c src/libmpg123/libmpg123.la "$prefix/lib/") >>"$log" 2>&1
  cp "$work/src/src/libmpg123/mpg123.h" "$work/src/src/libmpg123/fmt123.h" "$prefix/include/"
  cp "$work/src/libmpg123.pc" "$prefix/lib/pkgconfig/"
}

# Debian makes TagLib use the system utf8cpp, which MinGW does not have: take
# that patch back so the bundled copy is used. zlib comes from the MinGW sysroot.
recipe_taglib() {
  patch -d "$work/src" -R -p1 -s < "$work/src/debian/patches/0001-Use-system-libutf8cpp-library.patch"
  cmake_build -DBUILD_TESTING=OFF -DBUILD_EXAMPLES=OFF -DBUILD_BINDINGS=OFF -DWITH_ZLIB=ON
}

# Only what the video input needs: its decoders, demuxers and parsers, the
# file protocol, scaling and resampling; no programs, documents, network or
# libraries found on the build machine. nasm gives the decoders their assembly.
# AV1 through dav1d is left out: Debian's dav1d builds with meson only, and a
# cross file per architecture is not worth it for one more codec.
recipe_ffmpeg() {
  local cpu=x86_64
  [ "$arch" = i686 ] && cpu=x86
  (cd "$work/src" &&
    ./configure --prefix="$prefix" --enable-cross-compile --target-os=mingw32 --arch=$cpu \
      --cross-prefix=$host- --cc=$host-gcc-posix --cxx=$host-g++-posix \
      --enable-static --disable-shared --disable-programs --disable-doc --disable-debug \
      --disable-network --disable-autodetect --disable-everything \
      --disable-avdevice --disable-avfilter \
      --enable-avcodec --enable-avformat --enable-swscale --enable-swresample \
      --enable-decoder=h264,hevc,vp8,vp9,mpeg4,mjpeg,aac,mp3,mp3float,opus,vorbis,flac \
      --enable-demuxer=mov,matroska,avi \
      --enable-parser=h264,hevc,vp8,vp9,mpeg4video,mjpeg,aac,mpegaudio,opus,vorbis,flac \
      --enable-protocol=file --enable-bsf=h264_mp4toannexb,hevc_mp4toannexb,vp9_superframe_split \
      --enable-w32threads --extra-cflags="-D_FORTIFY_SOURCE=0") >>"$log" 2>&1
  nice make -C "$work/src" -j"$jobs" >>"$log" 2>&1
  make -C "$work/src" install >>"$log" 2>&1
}

if ! "recipe_$pkg"; then
  echo "third-party: building $pkg for $arch failed; the last lines of its log:" >&2
  tail -n 30 "$log" >&2
  exit 1
fi
echo "third-party: $pkg for $arch built in $(( $(date +%s) - start )) s" >&2
touch "$prefix/.done"
echo "$prefix"
