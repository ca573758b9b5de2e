#!/usr/bin/env bash
# The wallpaper page's thumbnail view under Wine on the shared corpus:
#   1. responsiveness: the longest delay of the user-interface thread while the worker makes
#      the thumbnails of all 100 photos of thumbs/ (goal: under 50 ms), and again while the
#      selection moves every 200 ms so that the preview monitor decodes photos beside them;
#   2. the first screen of 16 and 24 MP photos (about 20 MP on average), beside vipsthumbnail
#      making the same thumbnails (96x96, one thread like our worker) in the same run, per
#      thumbnail (goal: as fast).
#   bench/thumbnail-bench.sh CORPUS [RUNS]   (CORPUS from /work/shared/bench/make-corpus.sh)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/wine-env.sh"
CORPUS=${1:?usage: thumbnail-bench.sh CORPUS [RUNS]}
RUNS=${2:-3}
BENCH=$QV_WIN_BUILD/bench/qv_thumbnail_bench.exe
[ -f "$BENCH" ] || { echo "thumbnail-bench: build $BENCH first" >&2; exit 1; }
[ -d "$CORPUS/thumbs" ] || { echo "thumbnail-bench: $CORPUS/thumbs is missing" >&2; exit 1; }
command -v vipsthumbnail >/dev/null || { echo "thumbnail-bench: vipsthumbnail is missing (libvips-tools)" >&2; exit 1; }

qv_ensure_prefix
trap 'qv_stop_display' EXIT
qv_ensure_display || exit 1
wine_() { "$QV_WINE" "$@" 2> >(grep -v -e fixme -e '^err:' >&2) | tr -d '\r'; }
winpath() { echo "Z:${1//\//\\}"; }

mapfile -t BIG < <(ls "$CORPUS"/thumbs/*-16mp-*.jpg "$CORPUS"/thumbs/*-24mp-*.jpg | sort)
ARGS=()
for f in "${BIG[@]}"; do ARGS+=("$(winpath "$f")"); done
OUT=$(mktemp -d)
trap 'qv_stop_display; rm -rf "$OUT"' EXIT

for ((run = 1; run <= RUNS; run++)); do
  wine_ "$BENCH" stall "$(winpath "$CORPUS/thumbs")"
  wine_ "$BENCH" preview "$(winpath "$CORPUS/thumbs")"
  line=$(wine_ "$BENCH" first "${ARGS[@]}")
  echo "$line"
  made=$(sed -n 's/^first screen: \([0-9]*\) thumbnails.*/\1/p' <<<"$line")
  [ -n "$made" ] && [ "$made" -gt 0 ] || continue
  start=$(date +%s%N)
  VIPS_CONCURRENCY=1 vipsthumbnail -s 96x96 -o "$OUT/%s.v" "${BIG[@]:0:$made}"
  end=$(date +%s%N)
  awk -v n="$made" -v ns=$((end - start)) \
    'BEGIN { printf "vipsthumbnail: %d thumbnails in %.0f ms, %.1f ms each\n", n, ns / 1e6, ns / 1e6 / n }'
done
