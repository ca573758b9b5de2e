#!/usr/bin/env bash
# Builds the named flavours (default: what the tests need):
#   native  host compiler: portable modules and their unit tests        -> build/native
#   fuzz    clang with libFuzzer, ASan and UBSan: the fuzz targets        -> build/fuzz
#   win32   the shipped 32-bit program                                    -> build/win32, dist/Quorvex/
#   win64   the same sources for 64-bit Windows, for hosts whose Wine cannot run 32-bit programs
# Third-party libraries are cross-built once into ~/.cache/quorvex (QV_CACHE).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
JOBS=${QV_JOBS:-$(nproc)}
# Paths below the work tree are hashed relative to it, so other clones hit the same cache.
export CCACHE_BASEDIR=$ROOT CCACHE_NOHASHDIR=1
flavours=("$@")
[ ${#flavours[@]} -gt 0 ] || flavours=(native fuzz win32 win64)

configure() {  # configure DIR ARGS...: every time, so that new module folders are picked up
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log" >&2; exit 1; }
}

mkdir -p build
for f in "${flavours[@]}"; do
  echo "build: $f"
  case $f in
    native) configure build/native ;;
    fuzz)   CC=clang CXX=clang++ configure build/fuzz -DQV_FUZZ=ON ;;
    win32)  QV_TRIPLE=i686-w64-mingw32 scripts/build-thirdparty.sh
            configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DQV_DIST_DIR="$ROOT/dist/Quorvex" ;;
    win64)  QV_TRIPLE=x86_64-w64-mingw32 scripts/build-thirdparty.sh
            configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake ;;
    *) echo "build: unknown flavour $f" >&2; exit 2 ;;
  esac
  cmake --build "build/$f" -j "$JOBS"
done
