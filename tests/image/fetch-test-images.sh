#!/usr/bin/env bash
# Makes the test pictures of Debian's source packages available (nothing of them is committed):
# PngSuite (libpng1.6), libjpeg-turbo's and libtiff's test images, giflib's pictures.
# Unpacks each source package once into the cache; prints the folder that holds them.
#   QV_CACHE   cache folder (default ~/.cache/quorvex); the sources go to $QV_CACHE/src
# Offline with nothing cached, it warns and exits 0: the tests that need the files then skip.
set -uo pipefail

SRC=${QV_CACHE:-$HOME/.cache/quorvex}/src
mkdir -p "$SRC"

# PACKAGE DIRPREFIX
fetch() {
  local pkg=$1 prefix=$2
  if find "$SRC" -maxdepth 1 -type d -name "$prefix-*" | grep -q .; then return 0; fi
  if ! (cd "$SRC" && apt-get source -qq "$pkg" >/dev/null 2>&1); then
    echo "fetch-test-images: could not fetch the source of $pkg (offline?)" >&2
  fi
}

fetch libpng1.6 libpng1.6
fetch libjpeg-turbo libjpeg-turbo
fetch tiff tiff
fetch giflib giflib
echo "$SRC"
