#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the native unit tests, short fuzz runs, and
# the Windows tests under Wine (on an Xvfb display of its own). Extra arguments go to every ctest
# call, for example: scripts/test.sh -R Log
# With QV_NO_SKIPS=1 (as CI runs it) a skipped or disabled test fails the run: a test that did
# not run proves nothing.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
scripts/install-deps.sh || exit 1
source scripts/wine-env.sh
scripts/build.sh native fuzz win32 "$QV_WIN_ARCH" || exit 1

trap qv_stop_display EXIT
qv_ensure_display || exit 1
qv_ensure_prefix

source scripts/ctest-summary.sh
passed=0; failed=0; skipped=0
run_ctest() {  # run_ctest LABEL DIR
  echo "== $1 tests ($2)"
  local log; log=$(mktemp)
  (cd "$2" && ctest --output-on-failure --timeout 900 "${@:3}") 2>&1 | tee "$log"
  count_ctest "$log"
  rm -f "$log"
}

run_ctest native build/native "$@"
run_ctest fuzz build/fuzz "$@"
echo "(Windows tests run the $QV_WIN_ARCH build under $QV_WINE)"
run_ctest windows "$QV_WIN_BUILD" "$@"
# The shipped files are the 32-bit ones: where the Windows tests ran the 64-bit build, their
# import tables are still checked (the check reads them; nothing runs).
if [ "$QV_WIN_BUILD" != "$ROOT/build/win32" ]; then
  run_ctest "32-bit imports" build/win32 -R '^qv_import_check' "$@"
fi
"$WINESERVER" -k 2>/dev/null || true

echo "tests: $passed passed, $failed failed, $skipped skipped"
if [ "${QV_NO_SKIPS:-0}" = 1 ] && [ "$skipped" -gt 0 ]; then
  echo "tests: $skipped skipped; every test must run here (QV_NO_SKIPS=1)"
  exit 1
fi
[ "$failed" -eq 0 ]
