#!/usr/bin/env bash
# Builds the 52,000-file tree of the benchmark corpus when it is missing (26 x 20 folders of 100
# empty files, the layout of the shared corpus's tree/ part) and times the flat list rebuild
# against find over it.
#   bench/run-flatlist-bench.sh [CORPUS_DIR] [RUNS]     (default /tmp/qv-corpus, 15 runs)
#   ICOUNT=1 also counts instructions of one rebuild and one find with callgrind.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-/tmp/qv-corpus}
RUNS=${2:-15}
BENCH=$ROOT/build/native/bench/qv_flatlist_bench
[ -x "$BENCH" ] || { echo "build the native tree first (qv_flatlist_bench)" >&2; exit 1; }

if [ ! -d "$OUT/tree/z/19" ]; then
  EXT=(jpg jpg jpg jpg jpg jpg JPG JPG jpeg png png bmp gif tif tga pcx txt xmp db mp4)
  for a in {a..z}; do for b in $(seq -w 0 19); do
    d="$OUT/tree/$a/$b"; mkdir -p "$d"
    (cd "$d" && for j in $(seq 0 99); do printf 'IMG_%04d.%s\n' "$j" "${EXT[j % 20]}"; done | xargs touch)
  done; done
fi
echo "tree: $(find "$OUT/tree" -type f | wc -l) files"
"$BENCH" "$OUT/tree" "$RUNS"

if [ "${ICOUNT:-}" = 1 ]; then
  count() { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null | awk '/Collected/ {print $NF}'; }
  ours=$(count "$BENCH" "$OUT/tree" 0)
  theirs=$(count find "$OUT/tree")
  echo "instructions: rebuild $ours, find $theirs, ratio $(awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "%.2f", a / b}')"
fi
