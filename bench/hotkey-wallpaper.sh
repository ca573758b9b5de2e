#!/usr/bin/env bash
# The time from the next-wallpaper key combination to the new wallpaper being in effect for a
# 20 MP photo, under Wine with the resident agent, beside djpeg decoding the same file in the same
# run (the goal: less than the decode, a ratio under 1.0). Each round starts the agent on a small picture,
# presses the keys while the probe's window has the focus, and reads three clocks:
#   - the agent's stage trace (QV_STAGE_TRACE): the key's own input time stamp, the handler, the
#     picture loaded (fitted to the screen while it decodes), prepared (display depth), encoded
#     as a bitmap, the bitmap in place, the profile, the system call (SPI_SETDESKWALLPAPER)
#     returning, and the last place named;
#   - the probe, polling the bitmap's length and write time every 2 ms without opening it: the
#     moment another program can see the new bitmap;
#   - `date` before xdotool starts, as the earlier runs measured (xdotool's own start included).
# "key to wallpaper" runs from the key's time stamp to the system call's return. The list fits its
# pictures to the screen (POSITION=0 centres them instead: the whole photo is written).
#   bench/hotkey-wallpaper.sh CORPUS [ROUNDS]   (needs the Windows build with its tests)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CORPUS=${1:?usage: hotkey-wallpaper.sh CORPUS [ROUNDS]}
ROUNDS=${2:-5}
source "$ROOT/scripts/wine-env.sh"
probe=$QV_WIN_BUILD/tests/mainwindow/qv_agent_probe.exe
program=$(sed -n 's/^QV_DIST_DIR:PATH=//p' "$QV_WIN_BUILD/CMakeCache.txt")/Quorvex.exe
photo=$CORPUS/big/kleiber-20mp.jpg
small=$(sed -n 's/^QV_TEST_PICTURES:PATH=//p' "$QV_WIN_BUILD/CMakeCache.txt")/tiff/doc/images/bali.jpg
for f in "$probe" "$program" "$photo" "$small"; do
  [ -f "$f" ] || { echo "hotkey-wallpaper: $f is missing" >&2; exit 1; }
done
me=hotkey-wallpaper
source "$ROOT/tests/mainwindow/keypress-common.sh"
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
trace=$(mktemp /tmp/qv-hotkey-trace.XXXXXX)
export QV_STAGE_TRACE
QV_STAGE_TRACE=$(windows_path "$trace")

# The stages in their order; each column is the time from the one before it.
stages=(key hotkey loaded prepared encoded written profile system named)
columns="delivery load prepare encode write profile system rest probe total xdotool"
# stage_ms FROM TO: milliseconds between two stages of this round's trace (after its hotkey).
stage_ns() { tr -d "\r" <"$trace" | awk -v s="$1" '$1 == "hotkey" {on = 1} (on || s == "key") && $1 == s {print $2; exit}'; }
declare -A sums
rounds_done=0
printf 'round %s (ms)\n' "$columns"
for ((round = 1; round <= ROUNDS; round++)); do
  "$QV_WINE" reg delete 'HKCU\Control Panel\Desktop' /v Wallpaper /f >/dev/null 2>&1
  QV_PROBE_POSITION=${POSITION:-3} probe pictures "$(windows_path "$small")" "$(windows_path "$photo")" || fail "cannot write the settings"
  start_agent
  out=$(mktemp)
  # Straight to the file: through probe()'s tr the line would wait in a buffer until the end.
  "$QV_WINE" "$probe" catch 30 watch >"$out" 2>/dev/null &
  catcher=$!
  focus=$(xdotool search --sync --name "qv key catcher" | head -1)
  xdotool windowfocus --sync "$focus" 2>/dev/null || xdotool windowfocus "$focus"
  wait_for 10 xdotool search --name "qv key catcher \(active\)" || fail "the probe's window did not become active"
  : >"$trace"  # the start-up run's own change is not this round's
  pressed=$(date +%s%N)
  xdotool key --clearmodifiers ctrl+alt+equal
  if ! wait_for 25 grep -q "wallpaper changed" "$out" || ! wait_for 10 grep -q "^named" "$trace"; then
    echo "round $round: the wallpaper did not change: the probe saw $(tr -d "\r" <"$out" | tr '\n' ' ')" \
      "the agent traced $(tr '\n' ' ' <"$trace"); now $(probe wallpaper)" >&2
    kill "$catcher" 2>/dev/null; wait "$catcher" 2>/dev/null; rm -f "$out"
    end_agent
    continue
  fi
  seen=$(sed -n 's/^wallpaper changed at \([0-9]*\) ns.*/\1/p' "$out" | tr -d '\r')
  declare -A at=()
  for s in "${stages[@]}"; do at[$s]=$(stage_ns "$s"); done
  ms() { echo $(( ($2 - $1) / 1000000 )); }
  row=(
    "$(ms "${at[key]}" "${at[hotkey]}")" "$(ms "${at[hotkey]}" "${at[loaded]}")"
    "$(ms "${at[loaded]}" "${at[prepared]}")" "$(ms "${at[prepared]}" "${at[encoded]}")"
    "$(ms "${at[encoded]}" "${at[written]}")" "$(ms "${at[written]}" "${at[profile]}")"
    "$(ms "${at[profile]}" "${at[system]}")" "$(ms "${at[system]}" "${at[named]}")"
    "$(ms "${at[key]}" "$seen")" "$(ms "${at[key]}" "${at[system]}")" "$(ms "$pressed" "${at[key]}")"
  )
  echo "round $round ${row[*]}"
  i=0
  for c in $columns; do sums[$c]+="${row[$i]} "; i=$((i + 1)); done
  rounds_done=$((rounds_done + 1))
  kill "$catcher" 2>/dev/null; wait "$catcher" 2>/dev/null; rm -f "$out"
  end_agent
  start=$(date +%s%N); djpeg -outfile /dev/null "$photo"; end=$(date +%s%N)
  sums[djpeg]+="$(( (end - start) / 1000000 )) "
done
rm -f "$trace"
echo "rounds with a measurement: $rounds_done of $ROUNDS"
[ "$rounds_done" -gt 0 ] || exit 1
line="median"
for c in $columns; do line+=" $(printf '%s\n' ${sums[$c]} | median)"; done
echo "$line"
h=$(printf '%s\n' ${sums[total]} | median)
d=$(printf '%s\n' ${sums[djpeg]} | median)
awk -v h="$h" -v d="$d" 'BEGIN { printf "median: key to wallpaper %d ms, djpeg decode %d ms, ratio %.2f (goal under 1.0)\n", h, d, h / d }'
[ "$rounds_done" -eq "$ROUNDS" ]
