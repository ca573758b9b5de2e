#!/usr/bin/env bash
# Cross-builds zlib, libjpeg-turbo (with its SIMD code), libpng and libtiff for 32-bit (or 64-bit) Windows as
# static libraries, from Debian's source packages, into a cache folder outside the work tree.
# A library whose stamp file exists is not built again.
#   QV_CACHE   cache folder (default ~/.cache/quorvex)
#   QV_TRIPLE  i686-w64-mingw32 (default) or x86_64-w64-mingw32
set -euo pipefail

CACHE=${QV_CACHE:-$HOME/.cache/quorvex}
SRC=$CACHE/src
HOST=${QV_TRIPLE:-i686-w64-mingw32}
# The libraries are built by the program's own compiler (win32 thread model), and kept apart
# from those of any other.
PREFIX=$CACHE/$HOST-win32
JOBS=$(nproc)
TOOLCHAIN=$(cd "$(dirname "$0")/.." && pwd)/cmake/mingw-${HOST%%-w64-mingw32}.cmake
mkdir -p "$SRC" "$PREFIX"

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Source packages come from the main suite only: the security suite's source index lacks files.
ensure_deb_src() {
  local list=/etc/apt/sources.list.d/quorvex-src.sources
  [ -f "$list" ] && return 0
  as_root tee "$list" >/dev/null <<'SRCS'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRCS
  as_root apt-get update -qq
}

# fetch PACKAGE: unpacks Debian's source package once; prints its folder.
fetch() {
  local pkg=$1 dir
  dir=$(find "$SRC" -maxdepth 1 -type d -name "$2-*" | head -n 1)
  if [ -z "$dir" ]; then
    ensure_deb_src
    (cd "$SRC" && apt-get source -qq "$pkg" >/dev/null 2>&1) ||
      (cd "$SRC" && apt-get source "$pkg")
    dir=$(find "$SRC" -maxdepth 1 -type d -name "$2-*" | head -n 1)
  fi
  echo "$dir"
}

cmake_cross() {
  local src=$1 build=$2; shift 2
  rm -rf "$build" && mkdir -p "$build"
  local log=$build/build.log
  { cmake -S "$src" -B "$build" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_PREFIX_PATH="$PREFIX" "$@" &&
    cmake --build "$build" -j "$JOBS" && cmake --install "$build"; } >"$log" 2>&1 ||
    { tail -n 40 "$log" >&2; echo "thirdparty: build failed, see $log" >&2; exit 1; }
}

stamp() { echo "$PREFIX/.built-$1"; }

build_zlib() {
  [ -f "$(stamp zlib)" ] && return 0
  local dir; dir=$(fetch zlib zlib)
  echo "thirdparty: zlib from ${dir##*/}"
  local build=$CACHE/build/$HOST-win32/zlib
  rm -rf "$build" && mkdir -p "$build" && cp -a "$dir"/. "$build"/
  # Debian's source lacks zlib's win32 makefile: the library is small enough to compile directly.
  (cd "$build" && for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback \
                              inffast inflate inftrees trees uncompr zutil; do
     $HOST-gcc-win32 -O2 -c "$c.c" -o "$c.o" || exit 1
   done && $HOST-ar rcs libz.a ./*.o)
  mkdir -p "$PREFIX/include" "$PREFIX/lib"
  cp "$build"/zlib.h "$build"/zconf.h "$PREFIX/include/" && cp "$build"/libz.a "$PREFIX/lib/"
  touch "$(stamp zlib)"
}

build_jpeg() {
  [ -f "$(stamp jpeg)" ] && return 0
  local dir; dir=$(fetch libjpeg-turbo libjpeg-turbo)
  echo "thirdparty: libjpeg-turbo from ${dir##*/} (SIMD with nasm)"
  cmake_cross "$dir" "$CACHE/build/$HOST-win32/jpeg" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DCMAKE_ASM_NASM_COMPILER=nasm
  touch "$(stamp jpeg)"
}

build_png() {
  [ -f "$(stamp png)" ] && return 0
  local dir; dir=$(fetch libpng1.6 libpng1.6)
  echo "thirdparty: libpng from ${dir##*/}"
  cmake_cross "$dir" "$CACHE/build/$HOST-win32/png" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON \
    -DZLIB_LIBRARY="$PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$PREFIX/include"
  touch "$(stamp png)"
}

build_tiff() {
  [ -f "$(stamp tiff)" ] && return 0
  local dir; dir=$(fetch tiff tiff)
  echo "thirdparty: libtiff from ${dir##*/}"
  cmake_cross "$dir" "$CACHE/build/$HOST-win32/tiff" -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF \
    -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dtiff-opengl=OFF -Dcxx=OFF \
    -Djpeg=ON -Dzlib=ON -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Djbig=OFF -Dlerc=OFF -Dlibdeflate=OFF \
    -Dold-jpeg=ON -Djpeg12=OFF -Dwin32-io=OFF \
    -DJPEG_LIBRARY="$PREFIX/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$PREFIX/include" \
    -DZLIB_LIBRARY="$PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$PREFIX/include"
  touch "$(stamp tiff)"
}

build_zlib
build_jpeg
build_png
build_tiff
echo "thirdparty: ready in $PREFIX"
