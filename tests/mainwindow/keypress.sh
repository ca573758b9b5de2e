#!/usr/bin/env bash
# Presses a key combination on the X display while the program runs as the resident agent with an
# empty wallpaper list, and expects the empty-list message box, then the configuration window.
#   keypress.sh XDOTOOL_KEYS PROBE_EXE PROGRAM_EXE
# With QV_SHOT_DIR set, screenshots of the box and the window are written there.
set -uo pipefail
keys=$1 probe=$2 program=$3
me=keypress
source "$(dirname "$0")/keypress-common.sh"

shot() { [ -n "${QV_SHOT_DIR:-}" ] && import -window root "$QV_SHOT_DIR/$1.png"; }

probe plant || fail "cannot write the settings"
start_agent
press_keys "$keys"
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
  grep -q "^QuorvexAgentWindow|Quorvex|" <<<"$main" && ! grep -q "wallpaper list is empty" <<<"$main" && break
  sleep 0.5
done
echo "$main"
# The configuration window is some 650 wide, the message box about half that.
width=$(awk -F'|' '$1 == "QuorvexAgentWindow" && $2 == "Quorvex" { split($3, s, "x"); print s[1]; exit }' <<<"$main")
[ "${width:-0}" -ge 500 ] || fail "the configuration window did not open"
shot window

end_agent
echo "keypress: $keys showed the empty-list message and opened the window"
