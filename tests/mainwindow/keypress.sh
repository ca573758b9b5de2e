#!/usr/bin/env bash
# Presses a key combination on the X display while the program runs as the resident agent with an
# empty wallpaper list, and expects the empty-list message box, then the configuration window.
#   keypress.sh XDOTOOL_KEYS PROBE_EXE PROGRAM_EXE
# With QV_SHOT_DIR set, screenshots of the box and the window are written there.
set -uo pipefail
keys=$1 probe=$2 program=$3
source "$(dirname "$0")/../../scripts/wine-env.sh"
qv_ensure_prefix
trap 'qv_stop_display' EXIT
qv_ensure_display || exit 1

probe() { "$QV_WINE" "$probe" "$@" 2>/dev/null | tr -d '\r'; }
fail() {
  echo "keypress: $*" >&2
  probe quit >/dev/null
  probe remove >/dev/null
  exit 1
}
shot() { [ -n "${QV_SHOT_DIR:-}" ] && import -window root "$QV_SHOT_DIR/$1.png"; }

probe plant || fail "cannot write the settings"
"$QV_WINE" "$program" -r >/dev/null 2>&1 &
agent=$!
probe wait || fail "the program's window did not come"
sleep 3
[ -z "$(probe windows)" ] || fail "the start-up run showed a window"

probe catch 12 &
catcher=$!
focus=$(xdotool search --sync --name "qv key catcher" | head -1)
xdotool windowfocus --sync "$focus" 2>/dev/null || xdotool windowfocus "$focus"
sleep 0.5
xdotool key --clearmodifiers "$keys"
box=""
for _ in $(seq 20); do
  box=$(probe windows)
  grep -q "The wallpaper list is empty" <<<"$box" && break
  sleep 0.5
done
echo "$box"
grep -q "The wallpaper list is empty" <<<"$box" || fail "no empty-list message after $keys"
shot box
wait "$catcher"

probe confirm >/dev/null
main=""
for _ in $(seq 20); do
  main=$(probe windows)
  grep -q "^#32770|Quorvex|" <<<"$main" && ! grep -q "wallpaper list is empty" <<<"$main" && break
  sleep 0.5
done
echo "$main"
# The configuration window is at least 658 wide; the message box is far smaller.
width=$(awk -F'|' '$1 == "#32770" && $2 == "Quorvex" { split($3, s, "x"); print s[1]; exit }' <<<"$main")
[ "${width:-0}" -ge 658 ] || fail "the configuration window did not open"
shot window

probe quit || fail "the agent did not end"
wait "$agent"
probe remove >/dev/null
echo "keypress: $keys showed the empty-list message and opened the window"
