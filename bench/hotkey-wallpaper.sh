#!/usr/bin/env bash
# The time from the next-wallpaper key combination to the new wallpaper being in effect for a
# 20 MP photo, under Wine with the resident agent, beside djpeg decoding the same file in the same
# run (the goal is at most 1.5 times the decode). Each round starts the agent on a small picture,
# presses the keys, and the probe (polling every 2 ms) stamps the moment the desktop's bitmap has
# the photo's size. The list fits its pictures to the screen (POSITION=0 centres them instead:
# the whole photo is then written as the bitmap).
#   bench/hotkey-wallpaper.sh CORPUS [ROUNDS]   (needs the Windows build with its tests)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CORPUS=${1:?usage: hotkey-wallpaper.sh CORPUS [ROUNDS]}
ROUNDS=${2:-3}
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
windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

hotkey=() decode=()
for ((round = 1; round <= ROUNDS; round++)); do
  "$QV_WINE" reg delete 'HKCU\Control Panel\Desktop' /v Wallpaper /f >/dev/null 2>&1
  QV_PROBE_POSITION=${POSITION:-3} probe pictures "$(windows_path "$small")" "$(windows_path "$photo")" || fail "cannot write the settings"
  start_agent
  out=$(mktemp)
  probe catch 30 watch >"$out" &
  catcher=$!
  focus=$(xdotool search --sync --name "qv key catcher" | head -1)
  xdotool windowfocus --sync "$focus" 2>/dev/null || xdotool windowfocus "$focus"
  wait_for 10 xdotool search --name "qv key catcher \(active\)" || fail "the probe's window did not become active"
  pressed=$(date +%s%N)
  xdotool key --clearmodifiers ctrl+alt+equal
  if ! wait_for 25 grep -q "wallpaper changed" "$out"; then
    echo "round $round: the wallpaper did not change (the key press did not arrive?): $(tr -d "\r" <"$out") now $(probe wallpaper)" >&2
    kill "$catcher" 2>/dev/null; wait "$catcher" 2>/dev/null; rm -f "$out"
    end_agent
    continue
  fi
  changed=$(sed -n 's/^wallpaper changed at \([0-9]*\) ns.*/\1/p' "$out" | tr -d '\r')
  ms=$(( (changed - pressed) / 1000000 ))
  echo "round $round: key to wallpaper $ms ms ($(tr -d '\r' <"$out" | sed 's/.*: //'))"
  hotkey+=("$ms")
  kill "$catcher" 2>/dev/null; wait "$catcher" 2>/dev/null; rm -f "$out"
  end_agent
  start=$(date +%s%N); djpeg -outfile /dev/null "$photo"; end=$(date +%s%N)
  decode+=($(( (end - start) / 1000000 )))
done
h=$(printf '%s\n' "${hotkey[@]}" | median)
d=$(printf '%s\n' "${decode[@]}" | median)
awk -v h="$h" -v d="$d" 'BEGIN { printf "median: key to wallpaper %d ms, djpeg decode %d ms, ratio %.2f (goal 1.5)\n", h, d, h / d }'
