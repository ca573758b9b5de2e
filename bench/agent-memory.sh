#!/usr/bin/env bash
# The resident agent's private memory beside a minimal resident Win32 program's, one after the
# other under the same Wine, prefix and display: the shipped (stripped) agent, the debug copy of
# the same build, and the minimal one-window program (bench/MinimalResident.cpp).
#   bench/agent-memory.sh [BUILD_DIR]     (default: the Windows build scripts/wine-env.sh picks)
# Needs the Windows build with its tests built (the agent's settings are planted by the test
# probe). Prints one line per program and the agent's distance from the minimal program.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/wine-env.sh"
BUILD=${1:-$QV_WIN_BUILD}
PROBE=$BUILD/tests/mainwindow/qv_agent_probe.exe
MEASURE=$BUILD/bench/qv_private_memory.exe
MINIMAL=$BUILD/bench/qv_minimal_resident.exe
SHIPPED=$(sed -n 's/^QV_DIST_DIR:PATH=//p' "$BUILD/CMakeCache.txt")/Quorvex.exe
DEBUG_COPY=$BUILD/debug/Quorvex.exe
for f in "$PROBE" "$MEASURE" "$MINIMAL" "$SHIPPED" "$DEBUG_COPY"; do
  [ -f "$f" ] || { echo "agent-memory: $f is missing; build $BUILD first" >&2; exit 1; }
done

qv_ensure_prefix
trap 'qv_stop_display' EXIT
qv_ensure_display || exit 1
wine_() { "$QV_WINE" "$@" 2> >(grep -v -e fixme -e '^err:' >&2) | tr -d '\r'; }
kib() { sed -n 's/.*private_kib=\([0-9]*\).*/\1/p' <<<"$1"; }

# end_within SECONDS PID: waits for the process to end, and ends it when it does not.
end_within() {
  local i
  for ((i = 0; i < $1 * 10; i++)); do
    kill -0 "$2" 2>/dev/null || { wait "$2" 2>/dev/null; return 0; }
    sleep 0.1
  done
  echo "agent-memory: process $2 did not end; ending it" >&2
  kill "$2" 2>/dev/null; wait "$2" 2>/dev/null
}

# agent PROGRAM: the start-up run of PROGRAM, resident with nothing to change; its reading.
agent() {
  wine_ "$PROBE" plant >/dev/null || { echo "agent-memory: cannot plant the settings" >&2; return 1; }
  "$QV_WINE" "$1" -r >/dev/null 2>&1 &
  local pid=$! reading
  # The main window is the one with the page tree (control 1000); a message box has none.
  reading=$(wine_ "$MEASURE" Quorvex 1000 5)
  wine_ "$PROBE" quit >/dev/null
  end_within 30 "$pid"
  wine_ "$PROBE" remove >/dev/null
  echo "$reading"
}

minimal() {
  "$QV_WINE" "$MINIMAL" >/dev/null 2>&1 &
  local pid=$! reading
  reading=$(wine_ "$MEASURE" "qv minimal resident" 0 5 close)
  end_within 30 "$pid"
  echo "$reading"
}

echo "resident private memory under $QV_WINE ($QV_WIN_ARCH build, $BUILD)"
m=$(minimal); s=$(agent "$SHIPPED"); d=$(agent "$DEBUG_COPY")
printf '  %-38s %s\n' "minimal one-window program" "$m" "agent, shipped (stripped)" "$s" \
  "agent, debug copy (not shipped)" "$d"
if [ -n "$(kib "$m")" ] && [ -n "$(kib "$s")" ]; then
  echo "  the shipped agent holds $(( $(kib "$s") - $(kib "$m") )) KiB more than the minimal program"
else
  echo "agent-memory: a reading is missing" >&2
  exit 1
fi
