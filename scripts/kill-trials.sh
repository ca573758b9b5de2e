#!/usr/bin/env bash
# Kill trials under Wine: the files that must survive a crash are written over and over by
# tests/killtrials/qv_kill_trial (the program's own writers: the settings save, the boot.ini
# marking, the boot screen and logon changers), the writer is killed with SIGKILL at a random
# moment, and the files left are checked: qv.dat loads as the old or the new settings, boot.ini
# reads with all its entries and has a backup, QVLOGO.EXE and QVUIHOST.EXE are absent or whole
# (checksum and resources), and neither boot.ini nor the registry names a copy that is missing.
# settings9x saves qv.dat by renames, as on Windows 95, 98 and Me, and recovers it as start-up
# does before the check.
#   scripts/kill-trials.sh [TRIALS] [TARGET...]   (default 200; settings settings9x bootini kernel logon)
#   SPAN_<target>=seconds   the kill falls at a random moment this long after the first write
#                           began (defaults below: some ten writes' time of each target here)
# Needs the Windows build (scripts/build.sh win64 or win32, target qv_kill_trial). Prints per
# target the trials, the complete and the failed writes seen before the kills, the kills, those
# that fell inside a write, the torn results, the processes run again because Wine did not run
# them to their end (a writer that never began, a check that ended without its verdict; each
# shown with its status, output and Wine's messages), the checks that did not run to their end
# twice, the checks that found qv.dat only under its replacement names (recovered: the kill fell
# between the renames), the checks that had to wait for the killed writer to leave the wine
# server's process list, the mean time of a write, and the mean time from a writer's launch to
# its first write. The files of every such trial are kept in KEEP (default build/kill-trials/<time of the run>). Exit 1 when anything was torn or could not
# be checked twice. Not part of the test run: 200 trials of four targets take about a quarter of an hour.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/wine-env.sh"
TRIALS=${1:-200}; shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings settings9x bootini kernel logon)
for t in "${targets[@]}"; do
  case $t in settings|settings9x|bootini|kernel|logon) ;; *) echo "kill-trials: unknown target $t" >&2; exit 2 ;; esac
done
# A write takes about 7 ms (settings), 2 ms (boot.ini), 40 ms (kernel) and 150 ms (logon) here.
SPAN_settings=${SPAN_settings:-0.3} SPAN_settings9x=${SPAN_settings9x:-0.3} SPAN_bootini=${SPAN_bootini:-0.2}
SPAN_kernel=${SPAN_kernel:-0.6} SPAN_logon=${SPAN_logon:-1.5}
START_TIMEOUT=${START_TIMEOUT:-60}
EXE=$QV_WIN_BUILD/tests/killtrials/qv_kill_trial.exe
[ -f "$EXE" ] || { echo "kill-trials: build qv_kill_trial first ($EXE)" >&2; exit 2; }
KEEP=${KEEP:-$ROOT/build/kill-trials/$(date -u +%Y%m%d-%H%M%S)}
mkdir -p "$KEEP"
LOG=$(mktemp -d)
qv_ensure_prefix
qv_ensure_display || exit 2
# One wine server for the whole run, started before any trial: Wine's start-up (services, the
# desktop) then happens once here and never inside a timed writer or a check.
"$WINESERVER" -w
"$WINESERVER" -p30
trap '"$QV_WINE" "$EXE" teardown >/dev/null 2>&1; "$WINESERVER" -w; qv_stop_display; rm -rf "$LOG"' EXIT

# Shows and keeps the files of trial $1 of target $2 with the reason $3.
report() {
  local f
  echo "trial $1 of $2: $3" >&2
  for f in out err check check.err; do
    [ -s "$LOG/$f" ] || continue
    cp "$LOG/$f" "$KEEP/$2-$1.$f"
    echo "  $f:" >&2
    tail -n 20 "$LOG/$f" | sed 's/^/    /' >&2
  done
}

# Runs the check of target $1; sets rc. Err messages on so that a crash or a Wine fault shows.
check() {
  WINEDEBUG=-all,err+all timeout 120 "$QV_WINE" "$EXE" check "$1" >"$LOG/check" 2>"$LOG/check.err"
  rc=$?
}

# A check ends with "whole" (status 0) or a "torn:" line (status 1); anything else did not run
# to its end (a crash hangs in Wine's crash dialog until the timeout, status 124).
ran_to_end() {
  { [ "$rc" -eq 0 ] && grep -q '^whole' "$LOG/check"; } || { [ "$rc" -eq 1 ] && grep -q '^torn:' "$LOG/check"; }
}

# Names the fault in Wine's messages $1 where it is a known one. Now and then a new Wine process
# finds the fixed address of its shared user data page taken (status c0000018) and exits with 1
# before the program's code runs: with err messages off, that was a silent status 1.
wine_fault() {
  grep -q 'failed to map the shared user data' "$1" 2>/dev/null &&
    echo ": Wine could not start the process (the address of its shared user data was taken)"
}

# Waits until the writer has begun its first write (or ended, or START_TIMEOUT passed), and adds
# the milliseconds since its launch at $2 to start_ms.
wait_begin() {
  local pid=$1 end=$((SECONDS + START_TIMEOUT))
  while ! grep -qs '^begin' "$LOG/out"; do
    kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $end ] || return 1
    sleep 0.02
  done
  start_ms=$((start_ms + ($(date +%s%N) - $2) / 1000000))
}

bad=0
printf '%-10s %6s %7s %6s %6s %8s %9s %5s %9s %9s %6s %8s %8s\n' target trials written failed killed in-write recovered torn restarted unchecked waited 'ms/write' 'start ms'
for t in "${targets[@]}"; do
  "$QV_WINE" "$EXE" setup || { echo "kill-trials: setup failed" >&2; exit 2; }
  span_var=SPAN_$t; span=${!span_var:-1}
  torn=0 writes=0 failed=0 killed=0 inside=0 recovered=0 restarted=0 unchecked=0 waited=0 ms=0 start_ms=0 i=0 in_a_row=0
  while [ "$i" -lt "$TRIALS" ]; do
    launched=$(date +%s%N)
    WINEDEBUG=-all,err+all "$QV_WINE" "$EXE" write "$t" >"$LOG/out" 2>"$LOG/err" &
    pid=$!
    if ! wait_begin "$pid" "$launched"; then
      # Not a trial: the writer never began. Shown, kept, and the trial started again.
      kill -9 "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      status=$?
      restarted=$((restarted + 1)) in_a_row=$((in_a_row + 1))
      report "$((i + 1))" "$t" "the writer did not begin a write (status $status)$(wine_fault "$LOG/err"); started again"
      [ "$in_a_row" -lt 5 ] || { echo "kill-trials: the writer did not begin five times running" >&2; exit 2; }
      continue
    fi
    i=$((i + 1)) in_a_row=0
    sleep "$(awk -v m="$span" -v s="$RANDOM$i" 'BEGIN {srand(s); printf "%.3f", rand() * m}')"
    # Only the writer this loop started, by its process id.
    kill -9 "$pid" 2>/dev/null && killed=$((killed + 1))
    wait "$pid" 2>/dev/null
    writes=$((writes + $(grep -c '^written' "$LOG/out")))
    failed=$((failed + $(grep -c '^failed' "$LOG/out")))
    ms=$((ms + $(awk '/^(written|failed)/ {s += $3} END {print s + 0}' "$LOG/out")))
    # The last line says where the kill fell: after "begin N", inside write N.
    tail -n 1 "$LOG/out" | grep -q '^begin' && inside=$((inside + 1))
    grep -q '^failed' "$LOG/out" && report "$i" "$t" "a write failed"
    check "$t"
    if ! ran_to_end; then
      restarted=$((restarted + 1))
      report "$i" "$t" "the check did not run to its end (status $rc)$(wine_fault "$LOG/check.err"); run again"
      check "$t"
      echo "  again: status $rc: $(cat "$LOG/check")" >&2
      if ! ran_to_end; then
        unchecked=$((unchecked + 1))
        report "$i" "$t" "the check did not run to its end twice (status $rc)$(wine_fault "$LOG/check.err")"
        continue
      fi
    fi
    grep -q '^waited' "$LOG/check" && waited=$((waited + 1))
    grep -q '^recovered' "$LOG/check" && recovered=$((recovered + 1))
    if [ "$rc" -ne 0 ]; then
      torn=$((torn + 1))
      report "$i" "$t" "$(cat "$LOG/check")"
    fi
  done
  [ "$torn" -eq 0 ] && [ "$unchecked" -eq 0 ] || bad=1
  printf '%-10s %6s %7s %6s %6s %8s %9s %5s %9s %9s %6s %8s %8s\n' "$t" "$TRIALS" "$writes" "$failed" "$killed" "$inside" "$recovered" "$torn" "$restarted" "$unchecked" "$waited" \
    "$(awk -v s="$ms" -v n=$((writes + failed)) 'BEGIN {printf "%.0f", n ? s / n : 0}')" $((start_ms / TRIALS))
done
[ "$bad" -eq 0 ]
