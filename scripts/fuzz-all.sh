#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz (or the ones named) one after the other, each until it
# reaches its number of executions or the time limit, and prints one line per target:
# executions, coverage (edges and features), new corpus entries, crashes and leaks.
#   scripts/fuzz-all.sh SECONDS [NAME...]
#   RUNS=2000000      executions for a decoder or the thumbnail maker
#   HEADER_RUNS=10000000   for the header readers, boot.ini, language, settings and PE checksum
#   MERGE=1           merge what a run found into fuzz/corpus/NAME (only inputs with new coverage)
#   OUT=DIR           logs, work corpora and crash files (default build/fuzz/fuzz-all)
# Exit status 1 when any target crashed or leaked. Runs at nice 10 on one core.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build/fuzz
SECONDS_EACH=${1:?usage: fuzz-all.sh SECONDS [NAME...]}; shift
RUNS=${RUNS:-2000000}
HEADER_RUNS=${HEADER_RUNS:-10000000}
OUT=${OUT:-$B/fuzz-all}
mkdir -p "$OUT"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  mapfile -t names < <(cd "$B" && ctest -N -L fuzz | awk '/Test +#/ {print $3}' | sort)
fi
[ ${#names[@]} -gt 0 ] || { echo "fuzz-all: no fuzz targets in $B (scripts/build.sh fuzz)" >&2; exit 2; }

runs_for() {
  case $1 in
    *_info|fuzz_boot_ini|qv_language_fuzzer|qv_settings_fuzzer|qv_fuzz_pe_checksum|qv_fuzz_metafile_header)
      echo "$HEADER_RUNS" ;;
    *) echo "$RUNS" ;;
  esac
}

failed=0
printf '%-26s %11s %7s %7s %6s %7s %5s %6s\n' target executions edges features new crashes leaks secs
for n in "${names[@]}"; do
  exe=$(find "$B" -type f -name "$n" -perm -u+x | head -1)
  if [ -z "$exe" ]; then echo "fuzz-all: $n not built" >&2; failed=1; continue; fi
  work=$OUT/$n; rm -rf "$work" "$OUT/$n.crashes"; mkdir -p "$work" "$OUT/$n.crashes"
  seeds=$ROOT/fuzz/corpus/$n
  [ -d "$seeds" ] && cp -r "$seeds/." "$work/"
  before=$(ls "$work" | wc -l)
  start=$(date +%s)
  nice -n 10 "$exe" -runs="$(runs_for "$n")" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$OUT/$n.crashes/" "$work" >"$OUT/$n.log" 2>&1
  rc=$?
  secs=$(( $(date +%s) - start ))
  execs=$(awk '/stat::number_of_executed_units/ {print $2}' "$OUT/$n.log" | tail -1)
  cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$OUT/$n.log" | tail -1)
  crashes=$(find "$OUT/$n.crashes" -type f | wc -l)
  leaks=$(grep -c 'ERROR: LeakSanitizer' "$OUT/$n.log")
  [ "$rc" -ne 0 ] && [ "$crashes" -eq 0 ] && crashes=1
  [ "$crashes" -gt 0 ] || [ "$leaks" -gt 0 ] && failed=1
  printf '%-26s %11s %7s %7s %6s %7s %5s %6s\n' "$n" "${execs:-?}" "$(echo "$cov" | awk '{print $2}')" \
    "$(echo "$cov" | awk '{print $4}')" "$(( $(ls "$work" | wc -l) - before ))" "$crashes" "$leaks" "$secs"
  if [ "${MERGE:-}" = 1 ] && [ "$crashes" -eq 0 ]; then
    mkdir -p "$seeds"
    nice -n 10 "$exe" -merge=1 -rss_limit_mb=2048 "$seeds" "$work" >"$OUT/$n.merge.log" 2>&1
  fi
done
exit $failed
