#!/usr/bin/env bash
# Makes the test pictures of Debian's source packages available (nothing of them is committed):
# PngSuite (libpng1.6), libjpeg-turbo's and libtiff's test images, giflib's pictures.
#   fetch-test-pictures.sh PICTURES SOURCES
# Unpacks each source package once into SOURCES (the folder the library build unpacks into, so
# nothing is fetched twice) and links it as PICTURES/<source package>, so that tests name the
# package, not the version Debian ships today. Fails when a picture set cannot be had: a test
# over real files must not pass for want of its files.
set -uo pipefail
PICTURES=${1:?picture folder} SOURCES=${2:?source folder}
mkdir -p "$PICTURES" "$SOURCES"

# Several work trees share the cache: one fetch at a time.
exec 9>"$SOURCES/.fetch-test-pictures.lock"
flock 9

# unpacked PACKAGE: the newest unpacked folder of the package, or nothing.
unpacked() {
  find "$SOURCES" -maxdepth 1 -type d -name "$1-[0-9]*" | sort -V | tail -n 1
}

# fetch PACKAGE FILE: links the package's folder; FILE, inside it, shows that it is complete.
failed=0
fetch() {
  local pkg=$1 file=$2 dir
  dir=$(unpacked "$pkg")
  if [ -z "$dir" ] || [ ! -e "$dir/$file" ]; then
    (cd "$SOURCES" && apt-get source -qq "$pkg" >/dev/null 2>&1)
    dir=$(unpacked "$pkg")
  fi
  if [ -z "$dir" ] || [ ! -e "$dir/$file" ]; then
    echo "fetch-test-pictures: no $pkg/$file: 'apt-get source $pkg' failed (offline, or no" \
         "deb-src entry for the main suite: scripts/build-thirdparty.sh adds one)" >&2
    failed=1
    return
  fi
  ln -sfn "$dir" "$PICTURES/$pkg"
}

fetch libpng1.6 contrib/pngsuite/basn0g01.png
fetch libjpeg-turbo testimages/testorig.jpg
fetch tiff doc/images/bali.jpg
fetch giflib pic/welcome2.gif
[ "$failed" -eq 0 ] || exit 1
echo "fetch-test-pictures: pictures in $PICTURES"
