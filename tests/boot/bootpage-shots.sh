#!/usr/bin/env bash
# Screenshots of the boot screen page of the real program (rows in the details and thumbnail
# views, English and German) and of the preview in window mode on XP and 2000, on a Wine desktop
# in the test prefix. Writes PNG files into the folder given (default shots/ of the work tree).
# usage: bootpage-shots.sh [FOLDER]   (build the win64 or win32 flavour first)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/wine-env.sh"
OUT=${1:-$ROOT/shots}
mkdir -p "$OUT"
HELPER=$QV_WIN_BUILD/tests/boot/qv_bootpage_shots.exe
PROGRAM=$QV_WIN_BUILD/dist/Quorvex/Quorvex.exe
PICTURES=${QV_TEST_PICTURES:-$HOME/.cache/quorvex/pictures}
win() { "$QV_WINE" winepath -w "$1" 2>/dev/null; }
qv_ensure_prefix
trap '"$WINESERVER" -k 2>/dev/null || true; qv_stop_display' EXIT
qv_ensure_display
# A plain desktop behind the windows (other tests of the prefix set wallpapers).
"$QV_WINE" reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /d '' /f >/dev/null 2>&1

rows=("$(win "$QV_WIN_BUILD/fixtures/ntoskrnl.exe")")
for p in tiff/doc/images/bali.jpg tiff/doc/images/jello.jpg tiff/doc/images/quad.jpg \
         giflib/pic/porsche.gif libpng1.6/contrib/pngsuite/basn2c16.png; do
  [ -f "$PICTURES/$p" ] && rows+=("$(win "$PICTURES/$p")")
done
rows+=("$(win "$PICTURES/tiff/doc/images")")

# shot NAME SECONDS: the desktop once the program has had its time to draw.
shot() {
  sleep "$2"
  import -window root -crop 900x700+0+0 +repage "$OUT/$1"
  echo "shots: $OUT/$1"
}

for language in qveng qvdeu; do
  for view in 0 1; do
    "$QV_WINE" "$HELPER" settings "$language.lng" "$view" "${rows[@]}"
    "$QV_WINE" explorer /desktop=shots,900x700 "$PROGRAM" >/dev/null 2>&1 &
    shot "bootpage-$language-$([ "$view" = 1 ] && echo thumbnails || echo details).png" 14
    "$WINESERVER" -k 2>/dev/null || true
    sleep 2
  done
done
for generation in xp 2000; do
  "$QV_WINE" explorer /desktop=shots,900x700 "$HELPER" preview "$generation" \
    "$(win "$PICTURES/tiff/doc/images/bali.jpg")" >/dev/null 2>&1 &
  shot "preview-$generation.png" 8
  "$WINESERVER" -k 2>/dev/null || true
  sleep 2
done
