#!/usr/bin/env bash
# The image object beside ImageMagick and libvips on real photos (corpus of
# /work/shared/bench/make-corpus.sh), in one run:
#   (a) boot screen: JPEG -> Resample 640x480 (mode 0) -> octree 16 colours, error diffusion -> 4-bit BMP
#   (w) wallpaper: JPEG -> fitted into 1024x768 by area averaging (Resample mode 0) -> 24-bit BMP
#   (b) 100 thumbnails 96x96 through the kz.dll maker, vipsthumbnail and convert -thumbnail
# Usage: bench/image-bench.sh BUILD_DIR CORPUS [RUNS]   (needs hyperfine, libvips-tools, imagemagick)
# Prints medians and the ratios ImageMagick/ours and vipsthumbnail/ours (above 1: ours faster),
# and checks our bitmaps against bench/expected/corpus-bitmaps.md5 (the output with the JPEG
# decoded at a reduced DCT scale, so that a change of result is a conscious one). ICOUNT=1
# counts instructions instead (callgrind, one thread, one run each), beside djpeg decoding the
# same file whole and at 1/2, 1/4 and 1/8; SKIP_THUMBS=1 leaves out (b).
set -euo pipefail
B=$(cd "${1:?usage: image-bench.sh BUILD_DIR CORPUS [RUNS]}" && pwd)
C=$(cd "${2:?corpus}" && pwd)
RUNS=${3:-5}
OURS=$B/bench/qv_image_bench
IM=$(command -v convert-im6.q16 || echo /usr/bin/convert)
O=$(mktemp -d); trap 'rm -rf "$O"' EXIT
mkdir -p "$O/ours" "$O/vips" "$O/im"
EXPECTED=$(cd "$(dirname "$0")" && pwd)/expected/corpus-bitmaps.md5

# Our bitmaps must be those of the digests, byte for byte.
for f in "$C"/big/*.jpg; do
  n=${f##*/}; n=${n%.jpg}
  "$OURS" boot "$f" "$O/$n-boot.bmp" && "$OURS" wallpaper "$f" "$O/$n-wallpaper.bmp"
done
(cd "$O" && md5sum -c --quiet "$EXPECTED") && echo "bitmaps: identical to bench/expected/corpus-bitmaps.md5"

if [ "${ICOUNT:-}" = 1 ]; then
  icount() {  # NAME INPUT COMMAND...: instructions of one single-threaded run, children included
    local name=$1 input=$2; shift 2
    OMP_NUM_THREADS=1 VIPS_CONCURRENCY=1 nice -n 10 valgrind --tool=callgrind --smc-check=all --trace-children=yes \
      --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
      awk -v n="$name" -v i="$input" '/Collected/ {s += $NF} /Process terminating/ {bad = 1}
        END {if (bad) printf "%-26s %-26s not counted: the run died under valgrind\n", n, i;
             else printf "%-26s %-26s instructions %7.3f G\n", n, i, s / 1e9}' || true
  }
  # libvips is not counted: it executes RDTSCP, which valgrind 3.19 cannot run (SIGILL); its
  # wall-clock medians come from the timed run.
  for f in "$C"/big/kleiber-20mp.jpg "$C"/big/elephants-18mp-prog.jpg; do
    n=${f##*/}
    icount djpeg "$n" djpeg -outfile /dev/null "$f"
    # The decode at each DCT scale our paths may pick, with the fast options they take.
    for s in 1/2 1/4 1/8; do
      icount "djpeg -scale $s" "$n" djpeg -scale "$s" -dct fast -nosmooth -outfile /dev/null "$f"
    done
    icount "A ours" "$n" "$OURS" boot "$f" "$O/a.bmp"
    icount "A im-hint+scale-area" "$n" "$IM" -define jpeg:size=1280x960 "$f" -scale '640x480!' -dither FloydSteinberg -colors 16 -type Palette "BMP3:$O/b.bmp"
    icount "W ours" "$n" "$OURS" wallpaper "$f" "$O/a.bmp"
    icount "W im-hint+resize" "$n" "$IM" -define jpeg:size=2048x1536 "$f" -resize 1024x768 "BMP3:$O/b.bmp"
  done
  [ "${SKIP_THUMBS:-}" = 1 ] && exit 0
  # (b): the floor is djpeg decoding every photo at the DCT scale the thumbnail maker picks;
  # ImageMagick decodes each photo whole (over 100 G instructions) and is only timed.
  mapfile -t T < <(ls "$C"/thumbs/*.jpg)
  icount "B ours" 100-photos "$OURS" thumbs "$O/ours" "${T[@]}"
  icount "B djpeg -scale 1/8" 100-photos sh -c 'for f; do djpeg -scale 1/8 -outfile /dev/null "$f"; done' sh "${T[@]}"
  exit 0
fi

median() {  # NAME COMMAND: median seconds of RUNS runs
  hyperfine -N -w 1 -r "$RUNS" --style none --export-csv "$O/r.csv" "$2" >/dev/null 2>"$O/err" ||
    { cat "$O/err" >&2; return 1; }
  tail -1 "$O/r.csv" | awk -F, '{print $4}'
}
row() { printf '%-3s %-26s %-26s median %8.3f s\n' "$1" "$2" "$3" "$4"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

for f in "$C"/big/kleiber-20mp.jpg "$C"/big/elephants-18mp-prog.jpg; do
  n=${f##*/}
  ours=$(median ours "$OURS boot $f $O/a.bmp")
  im=$(median im "$IM $f -resize 640x480! -dither FloydSteinberg -colors 16 -type Palette BMP3:$O/b.bmp")
  imscale=$(median im-scale "$IM $f -scale 640x480! -dither FloydSteinberg -colors 16 -type Palette BMP3:$O/b.bmp")
  vips=$(median vips "vipsthumbnail $f -s 640x480! -o $O/c.bmp[bitdepth=4,format=bmp3]")
  row A ours "$n" "$ours"; row A im-resize "$n" "$im"; row A im-scale-area "$n" "$imscale"; row A vipsthumbnail "$n" "$vips"
  echo "A ratio $n: im-resize/ours $(ratio "$im" "$ours")  im-scale/ours $(ratio "$imscale" "$ours")  vips/ours $(ratio "$vips" "$ours")"
  ours=$(median ours "$OURS wallpaper $f $O/a.bmp")
  im=$(median im "$IM -define jpeg:size=2048x1536 $f -resize 1024x768 BMP3:$O/b.bmp")
  vips=$(median vips "vipsthumbnail $f -s 1024x768 -o $O/c.bmp[format=bmp3]")
  djpeg=$(median djpeg "djpeg -outfile /dev/null $f")
  row W ours "$n" "$ours"; row W im-hint+resize "$n" "$im"; row W vipsthumbnail "$n" "$vips"; row W djpeg-decode "$n" "$djpeg"
  echo "W ratio $n: im/ours $(ratio "$im" "$ours")  vips/ours $(ratio "$vips" "$ours")  ours/djpeg $(ratio "$ours" "$djpeg")"
done
[ "${SKIP_THUMBS:-}" = 1 ] && exit 0

mapfile -t T < <(ls "$C"/thumbs/*.jpg)
[ "${#T[@]}" -eq 100 ] || { echo "expected 100 thumbnails, found ${#T[@]}" >&2; exit 1; }
printf '%s\n' "${T[@]}" > "$O/list"
ours=$(median ours "$OURS thumbs $O/ours ${T[*]}")
vips=$(median vips "vipsthumbnail -s 96x96 -o $O/vips/%s.bmp ${T[*]}")
im=$(median im "sh -c 'for f in \$(cat $O/list); do $IM -thumbnail 96x96 \$f $O/im/t.bmp; done'")
row B ours 100-photos "$ours"; row B vipsthumbnail 100-photos "$vips"; row B im-thumbnail 100-photos "$im"
echo "B ratio: vips/ours $(ratio "$vips" "$ours")  im/ours $(ratio "$im" "$ours")"
