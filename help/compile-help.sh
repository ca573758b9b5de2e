#!/usr/bin/env bash
# Compiles the help project into a .chm: compile-help.sh SOURCE_DIR WORK_DIR OUTPUT_FILE.
# chmcmd only warns about a topic that is missing or a link to a page that is not there and
# still writes a file, so every warning and error fails the build here.
set -euo pipefail
src=$1 work=$2 out=$3
command -v chmcmd >/dev/null || { echo "compile-help: chmcmd is missing (Debian package fp-utils-3.2.2; scripts/install-deps.sh installs it)" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"
cp "$src/Quorvex.hhp" "$src/Quorvex.hhc" "$src/Quorvex.hhk" "$src/html/"* "$work/"
cd "$work"
set +e
log=$(chmcmd Quorvex.hhp 2>&1)
rc=$?
set -e
if [ $rc -ne 0 ] || grep -Eiq '^(warning|error)|exception' <<<"$log"; then
  echo "$log" >&2
  echo "compile-help: chmcmd reported problems (exit $rc)" >&2
  exit 1
fi
mkdir -p "$(dirname "$out")"
cp Quorvex.chm "$out"
