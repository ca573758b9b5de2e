#!/usr/bin/env bash
# Kill trials under Wine: the files that must survive a crash are written over and over by
# tests/killtrials/qv_kill_trial (the program's own writers: the settings save, the boot.ini
# marking, the boot screen and logon changers), the writer is killed with SIGKILL at a random
# moment, and the files left are checked: qv.dat loads as the old or the new settings, boot.ini
# reads with all its entries and has a backup, QVLOGO.EXE and QVUIHOST.EXE are absent or whole
# (checksum and resources), and neither boot.ini nor the registry names a copy that is missing.
#   scripts/kill-trials.sh [TRIALS] [TARGET...]   (default 200; settings bootini kernel logon)
#   MAX_DELAY=seconds   the longest wait before the kill (default 3)
# Needs the Windows build (scripts/build.sh win64 or win32, target qv_kill_trial). Prints per
# target the trials, the complete writes seen before the kills and the torn results; exit 1 when
# anything was torn. Not part of the test run: 200 trials of four targets take about an hour.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/wine-env.sh"
TRIALS=${1:-200}; shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings bootini kernel logon)
MAX_DELAY=${MAX_DELAY:-3}
EXE=$QV_WIN_BUILD/tests/killtrials/qv_kill_trial.exe
[ -f "$EXE" ] || { echo "kill-trials: build qv_kill_trial first ($EXE)" >&2; exit 2; }
LOG=$(mktemp -d)
qv_ensure_prefix
qv_ensure_display || exit 2
trap '"$QV_WINE" "$EXE" teardown >/dev/null 2>&1; "$WINESERVER" -w; qv_stop_display; rm -rf "$LOG"' EXIT

torn_total=0
printf '%-9s %7s %9s %6s %5s %9s\n' target trials writes killed torn unchecked
for t in "${targets[@]}"; do
  "$QV_WINE" "$EXE" setup || { echo "kill-trials: setup failed" >&2; exit 2; }
  torn=0 writes=0 killed=0 failures=0
  for i in $(seq "$TRIALS"); do
    "$QV_WINE" "$EXE" write "$t" >"$LOG/out" 2>/dev/null &
    pid=$!
    sleep "$(awk -v m="$MAX_DELAY" -v s="$RANDOM" 'BEGIN {srand(s); printf "%.3f", 0.3 + rand() * m}')"
    # Only the writer this loop started, by its process id.
    kill -9 "$pid" 2>/dev/null && killed=$((killed + 1))
    wait "$pid" 2>/dev/null
    writes=$((writes + $(grep -c '^written' "$LOG/out")))
    "$QV_WINE" "$EXE" check "$t" >"$LOG/check" 2>&1
    rc=$?
    # 1 with a "torn:" line is a torn file; anything else is Wine failing to run the check
    # (seen under heavy load), which is counted apart and the check repeated once.
    if [ "$rc" -ne 0 ] && ! grep -q '^torn:' "$LOG/check"; then
      failures=$((failures + 1))
      echo "trial $i of $t: the check did not run (status $rc): $(cat "$LOG/check")" >&2
      "$QV_WINE" "$EXE" check "$t" >"$LOG/check" 2>&1
      rc=$?
    fi
    if [ "$rc" -ne 0 ]; then
      torn=$((torn + 1))
      echo "trial $i of $t: status $rc: $(cat "$LOG/check")" >&2
    fi
  done
  torn_total=$((torn_total + torn))
  printf '%-9s %7s %9s %6s %5s %9s\n' "$t" "$TRIALS" "$writes" "$killed" "$torn" "$failures"
done
[ "$torn_total" -eq 0 ]
