#!/usr/bin/env bash
# Installs what is needed, builds, and starts Quorvex under Wine: on your display when there is
# one, otherwise on a Wine desktop inside Xvfb, with a screenshot written to build/screenshot.png.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
scripts/install-deps.sh
source scripts/wine-env.sh
# The user's own prefix, apart from the disposable test prefix.
export WINEPREFIX=${QV_RUN_PREFIX:-$ROOT/build/wineprefix-run-$QV_WIN_ARCH}
scripts/build.sh win32 "$QV_WIN_ARCH"
if [ "$QV_WIN_ARCH" = win32 ]; then
  PROGRAM=$ROOT/dist/Quorvex/Quorvex.exe
else
  echo "run: this host cannot run 32-bit programs; starting the 64-bit build of the same sources"
  PROGRAM=$QV_WIN_BUILD/dist/Quorvex/Quorvex.exe
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  qv_ensure_prefix
  echo "run: starting $PROGRAM on $DISPLAY"
  exec "$QV_WINE" "$PROGRAM" "$@"
fi

trap 'qv_stop_display' EXIT
qv_ensure_display
qv_ensure_prefix
echo "run: starting $PROGRAM on a Wine desktop in Xvfb $DISPLAY"
"$QV_WINE" explorer /desktop=shell,1024x768 "$PROGRAM" "$@" &
WINE_PID=$!
for _ in $(seq 60); do
  xdotool search --name '^Quorvex$' >/dev/null 2>&1 && break
  sleep 1
done
sleep 2
import -window root "$ROOT/build/screenshot.png"
echo "run: screenshot of the running program: $ROOT/build/screenshot.png"
if [ -t 0 ]; then
  read -r -p "run: press Enter to end Quorvex " _ || true
fi
"$WINESERVER" -k 2>/dev/null || true
wait "$WINE_PID" 2>/dev/null || true
