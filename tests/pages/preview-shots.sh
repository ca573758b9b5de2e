#!/usr/bin/env bash
# Screenshots of the picture pages' preview monitors, each page at its own dialog size (what the
# configuration window gives it at its minimum size), in English and German: the wallpaper page
# in each of the five positions for a 16:9 photo and a portrait one, the logon page with two
# colours, the IE skin page. Writes PNG files into the folder given (default shots/).
# usage: preview-shots.sh [FOLDER]   (build the win32 or win64 flavour first)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/wine-env.sh"
OUT=${1:-$ROOT/shots}
mkdir -p "$OUT"
HELPER=$QV_WIN_BUILD/tests/pages/qv_preview_shots.exe
PICTURES=${QV_TEST_PICTURES:-$HOME/.cache/quorvex/pictures}
PHOTOS=${QV_PHOTO_DIR:-/usr/share/backgrounds/mate}
win() { "$QV_WINE" winepath -w "$1" 2>/dev/null; }
qv_ensure_prefix
trap '"$WINESERVER" -k 2>/dev/null || true; qv_stop_display' EXIT
qv_ensure_display
# A plain desktop behind the windows (other tests of the prefix set wallpapers).
"$QV_WINE" reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /d '' /f >/dev/null 2>&1

# A portrait photo: the middle of a real 16:9 one, upright.
portrait=$(mktemp -d)/portrait.jpg
convert "$PHOTOS/nature/Garden.jpg" -gravity center -crop 45%x100%+0+0 +repage -resize 900x1600 "$portrait"
wide=$(win "$PHOTOS/abstract/Elephants_3840x2160.jpg")
tall=$(win "$portrait")
skin=$(win "$PICTURES/tiff/doc/images/bali.jpg")

READY=$(mktemp -d)/ready
# shot NAME: the helper's window once its preview has the picture and the screen stops changing.
shot() {
  for ((i = 0; i < 600; i++)); do [ -f "$READY" ] && break; sleep 0.1; done
  [ -f "$READY" ] || echo "shots: $1: the preview never settled" >&2
  local before="" now
  for ((i = 0; i < 20; i++)); do
    sleep 0.5
    now=$(import -window root -crop 560x480+0+0 +repage ppm:- | md5sum)
    [ "$now" = "$before" ] && break
    before=$now
  done
  import -window root -crop 560x480+0+0 +repage "$OUT/$1"
  echo "shots: $OUT/$1"
}
run() {  # run NAME ARGS...
  local name=$1
  shift
  rm -f "$READY"
  QV_SHOT_READY=$(win "$(dirname "$READY")")\\ready "$QV_WINE" explorer /desktop=shots,800x600 "$HELPER" "$@" >/dev/null 2>&1 &
  shot "$name"
  "$WINESERVER" -k 2>/dev/null || true
  sleep 1
}

names=(centre tile stretch fit fill)
for language in qveng qvdeu; do
  for mode in 0 1 2 3 4; do
    run "preview-$language-wide-${names[$mode]}.png" "$language.lng" wallpaper "$mode" "$wide" "$tall"
    run "preview-$language-portrait-${names[$mode]}.png" "$language.lng" wallpaper "$mode" "$tall" "$wide"
  done
  run "preview-$language-logon-blue.png" "$language.lng" logon 5A7EDC "$wide"
  run "preview-$language-logon-green.png" "$language.lng" logon 2E7D32 "$wide"
  run "preview-$language-skin.png" "$language.lng" skin - "$skin" "$wide"
done
