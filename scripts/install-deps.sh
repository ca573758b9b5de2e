#!/usr/bin/env bash
# Installs every Debian package that the two builds, the tests and the Wine runs need.
# Safe to run again: apt-get skips what is already there, and the update is skipped
# when every package is present.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git dpkg-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools nasm
  googletest libgtest-dev
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev
  clang libclang-rt-14-dev
  wine wine32:i386 wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  valgrind nsis
  mate-backgrounds python3-pefile
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  NEED_UPDATE=1
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${NEED_UPDATE:-}" ]; then
  echo "install-deps: installing ${missing[*]:-(package lists only)}"
  as_root apt-get update -qq || echo "install-deps: apt-get update reported a failure; trying the install anyway"
  if [ ${#missing[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
fi
echo "install-deps: all packages present"
