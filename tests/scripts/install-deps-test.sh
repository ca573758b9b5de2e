#!/usr/bin/env bash
# Runs scripts/install-deps.sh against stand-ins for apt-get, dpkg, dpkg-query and sudo on the
# PATH, so that a mirror in mid-sync and a failed install can be played without touching the host.
set -uo pipefail
SCRIPT=$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps.sh
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
BIN=$WORK/bin
mkdir -p "$BIN"

# apt-get: "update" fails its first FAKE_UPDATE_FAILS calls the way a mirror in mid-sync does;
# "install" fails when one of its packages matches FAKE_INSTALL_FAILS. Every call is logged.
cat >"$BIN/apt-get" <<'STANDIN'
#!/usr/bin/env bash
echo "$*" >>"$FAKE_LOG"
case $1 in
  update)
    n=$(grep -c '^update' "$FAKE_LOG")
    if [ "$n" -le "${FAKE_UPDATE_FAILS:-0}" ]; then
      echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]" >&2
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
      exit 100
    fi ;;
  *)
    for p in "$@"; do
      if [ -n "${FAKE_INSTALL_FAILS:-}" ] && [[ $p == $FAKE_INSTALL_FAILS ]]; then
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100
      fi
    done ;;
esac
STANDIN
# dpkg-query: every package is installed except those named in FAKE_MISSING.
cat >"$BIN/dpkg-query" <<'STANDIN'
#!/usr/bin/env bash
p=${!#}
for m in ${FAKE_MISSING:-}; do [ "$m" = "$p" ] && exit 1; done
echo "install ok installed"
STANDIN
printf '#!/bin/sh\necho i386\n' >"$BIN/dpkg"
printf '#!/bin/sh\nexec "$@"\n' >"$BIN/sudo"
chmod +x "$BIN"/*

failures=0
OUT=$WORK/out
# play NAME EXPECTED_RC [VAR=VALUE...]: runs the script with the stand-ins in that situation.
play() {
  local name=$1 want=$2; shift 2
  : >"$WORK/log"
  env PATH="$BIN:$PATH" FAKE_LOG="$WORK/log" QV_APT_RETRY_DELAY=0 "$@" bash "$SCRIPT" >"$OUT" 2>&1
  local rc=$?
  CASE=$name
  if [ "$rc" -ne "$want" ]; then fail "exit code $rc, expected $want"; fi
}
fail() { echo "FAIL [$CASE]: $*"; sed 's/^/    | /' "$OUT"; failures=$((failures + 1)); }
calls() { grep -c "^$1" "$WORK/log"; }
says() { grep -q -- "$1" "$OUT" || fail "output lacks \"$1\""; }
says_not() { ! grep -q -- "$1" "$OUT" || fail "output has \"$1\""; }

play all-present 0
[ "$(calls '')" -eq 0 ] || fail "apt-get ran though nothing is missing"

play update-recovers 0 FAKE_MISSING="nasm" FAKE_UPDATE_FAILS=2
[ "$(calls update)" -eq 3 ] || fail "apt-get update ran $(calls update) times, expected 3"
grep -q '^install .* nasm$' "$WORK/log" || fail "nasm was not installed"
says_not "could not be updated"

play index-fails-install-works 0 FAKE_MISSING="nasm" FAKE_UPDATE_FAILS=99 QV_APT_UPDATE_TRIES=4
[ "$(calls update)" -eq 4 ] || fail "apt-get update ran $(calls update) times, expected 4"
[ "$(calls install)" -eq 1 ] || fail "the install was not tried after the failed update"
says "all packages present"

play index-fails-install-fails 1 FAKE_MISSING="nasm wine32:i386" FAKE_UPDATE_FAILS=99 FAKE_INSTALL_FAILS=nasm
says "could not install nasm: the package index bookworm-security/main/binary-i386 could not be updated; run scripts/install-deps.sh again"
[ "$(grep -c 'could not install' "$OUT")" -eq 1 ] || fail "the reason is not said in one line"

play install-fails-indexes-fine 1 FAKE_MISSING="nasm" FAKE_INSTALL_FAILS=nasm
says "could not install nasm: apt-get install failed"

play only-i386-fails 0 FAKE_MISSING="nasm wine32:i386" FAKE_UPDATE_FAILS=99 'FAKE_INSTALL_FAILS=*:i386'
grep -q '^install .* nasm$' "$WORK/log" || fail "nasm was not installed apart from wine32:i386"
says "warning: wine32:i386 not installed (the package index bookworm-security/main/binary-i386 could not be updated); the Windows tests will run the 64-bit build"

play other-package-with-i386 1 FAKE_MISSING="wine64 wine32:i386" 'FAKE_INSTALL_FAILS=wine64'
says "could not install wine64"
grep -q 'wine32:i386' "$WORK/log" && fail "went on to wine32:i386 after a required package failed"

if [ "$failures" -gt 0 ]; then echo "install-deps-test: $failures failed"; exit 1; fi
echo "install-deps-test: all cases passed"
