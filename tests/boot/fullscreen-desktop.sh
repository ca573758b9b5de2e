#!/usr/bin/env bash
# Runs the preview's full-screen test inside a Wine virtual desktop, where DirectDraw's exclusive
# 640 x 480 x 8 mode exists (on the plain Xvfb desktop it does not): the test then requires that
# Alt+Enter enters the mode and that a key, Esc and a button press give everything back.
# usage: fullscreen-desktop.sh TEST_PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/../../scripts/wine-env.sh"
qv_ensure_prefix
trap qv_stop_display EXIT
qv_ensure_display
report=$(mktemp -d)/fullscreen.xml
# explorer does not hand back the program's exit code: the test's own report says how it went.
QV_VIRTUAL_DESKTOP=1 "$QV_WINE" explorer /desktop=qvfullscreen,1024x768 "$program" \
  --gtest_filter='BootPreviewTest.AltEnter*' --gtest_output="xml:$("$QV_WINE" winepath -w "$report" 2>/dev/null)" \
  >/dev/null 2>&1 || true
"$WINESERVER" -w
if [ ! -f "$report" ]; then
  echo "fullscreen-desktop: the test wrote no report" >&2
  exit 1
fi
grep -o '<testcase [^>]*' "$report" | sed 's/^/fullscreen-desktop: /'
grep -A3 '<failure' "$report" | head -40 || true
grep -q 'tests="1"' "$report" && grep -q 'failures="0"' "$report" && grep -q 'errors="0"' "$report"
