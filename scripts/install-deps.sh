#!/usr/bin/env bash
# Installs every Debian package that the two builds, the tests and the Wine runs need.
# Safe to run again: apt-get skips what is already there, and the update is skipped
# when every package is present.
#
# A package mirror in mid-sync makes one index fail for a while ("File has unexpected size ...
# Mirror sync in progress?"). The update is retried; when an index still fails the install is
# tried all the same, since the packages needed are often in the indexes that did arrive.
# 32-bit Wine is installed on its own: without it the Windows tests run the 64-bit build.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git dpkg-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools nasm
  googletest libgtest-dev
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev
  clang libclang-rt-14-dev
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  valgrind nsis
  mate-backgrounds lomiri-wallpapers-20.04 python3-pefile
  fp-utils-3.2.2 libchm-bin
)
# Wanted but not required: the Windows tests fall back to the 64-bit build without them.
I386_PACKAGES=(wine32:i386)

UPDATE_TRIES=${QV_APT_UPDATE_TRIES:-3}
RETRY_DELAY=${QV_APT_RETRY_DELAY:-20}
FAILED_INDEXES=""

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing_of() {  # missing_of PACKAGE...: prints those not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# failed_indexes LOG: the indexes that apt-get update could not fetch, as "suite/component/arch".
failed_indexes() {
  grep -E '^(E|W): Failed to fetch' "$1" |
    sed -E 's#.*/dists/([^ ]+)/(In)?(Release|Packages|Sources|Translation|Contents)[^ ]*.*#\1#; s#.*Failed to fetch ([^ ]+).*#\1#' |
    sort -u | paste -sd ' ' -
}

# update_indexes: apt-get update, again after a pause while an index fails; leaves the indexes
# that still fail in FAILED_INDEXES. Never fails itself.
update_indexes() {
  local try log; log=$(mktemp)
  for ((try = 1; try <= UPDATE_TRIES; try++)); do
    if as_root apt-get update -qq >"$log" 2>&1 && ! grep -qE '^(E|W): Failed to fetch' "$log"; then
      FAILED_INDEXES=""; rm -f "$log"; return 0
    fi
    FAILED_INDEXES=$(failed_indexes "$log")
    [ -n "$FAILED_INDEXES" ] || FAILED_INDEXES="(apt-get update: $(grep -m1 -E '^(E|W):' "$log" || tail -1 "$log"))"
    echo "install-deps: apt-get update failed (try $try of $UPDATE_TRIES): $FAILED_INDEXES"
    [ "$try" -lt "$UPDATE_TRIES" ] && sleep "$RETRY_DELAY"
  done
  rm -f "$log"
  echo "install-deps: trying the install with the indexes that did arrive"
}

install_packages() {  # install_packages PACKAGE...
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@"
}

because() {  # the reason to give when an install failed
  if [ -n "$FAILED_INDEXES" ]; then echo "the package index $FAILED_INDEXES could not be updated"
  else echo "apt-get install failed"; fi
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  NEED_UPDATE=1
fi

mapfile -t missing < <(missing_of "${PACKAGES[@]}")
mapfile -t missing_i386 < <(missing_of "${I386_PACKAGES[@]}")

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_i386[@]} -eq 0 ] && [ -z "${NEED_UPDATE:-}" ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]} ${missing_i386[*]}"
update_indexes
if [ ${#missing[@]} -gt 0 ] && ! install_packages "${missing[@]}"; then
  echo "install-deps: could not install ${missing[*]}: $(because); run scripts/install-deps.sh again later" >&2
  exit 1
fi
# apt's long list of unmet i386 dependencies says no more than the warning does.
if [ ${#missing_i386[@]} -gt 0 ] && ! install_packages "${missing_i386[@]}" >/dev/null 2>&1; then
  echo "install-deps: warning: ${missing_i386[*]} not installed ($(because)); the Windows tests will run the 64-bit build; run scripts/install-deps.sh again later for 32-bit Wine" >&2
  exit 0
fi
echo "install-deps: all packages present"
