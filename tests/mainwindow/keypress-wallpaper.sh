#!/usr/bin/env bash
# Presses the next-wallpaper key combination on the X display while the program runs as the
# resident agent with pictures in its wallpaper list, and expects the desktop's wallpaper to
# change from the first picture to the second without a window coming up. With a third picture
# in the list, the previous-wallpaper key would wrap to it instead.
#   keypress-wallpaper.sh XDOTOOL_KEYS PROBE_EXE PROGRAM_EXE FIRST SECOND [MORE_PICTURES...]
# The pictures are host paths; their sizes are read with `file`, and the centred wallpaper bitmap
# keeps them. With QV_SHOT_DIR set, a screenshot of a Wine desktop showing the new wallpaper is
# written there as wallpaper.png.
set -uo pipefail
keys=$1 probe=$2 program=$3 first=$4 second=$5
shift 3
pictures=("$@")
me=keypress-wallpaper
source "$(dirname "$0")/keypress-common.sh"

picture_size() { file -L "$1" | grep -oE '[0-9]+ ?x ?[0-9]+' | tail -1 | tr -d ' '; }
# The wallpaper's registry value as the system's own tool shows it.
registry_wallpaper() {
  "$QV_WINE" reg query 'HKCU\Control Panel\Desktop' /v Wallpaper 2>/dev/null | tr -d '\r' |
    awk '$1 == "Wallpaper" { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

# shoot_settled FILE: a screenshot once the screen has stopped changing (at most 15 seconds).
shoot_settled() {
  local previous="" now i
  for ((i = 0; i < 30; i++)); do
    now=$(import -window root png:- | md5sum)
    [ "$now" = "$previous" ] && break
    previous=$now
    sleep 0.5
  done
  import -window root "$1"
}

first_size=$(picture_size "$first") second_size=$(picture_size "$second")
[ -n "$first_size" ] && [ -n "$second_size" ] && [ "$first_size" != "$second_size" ] ||
  { echo "keypress-wallpaper: pictures of two different sizes are needed" >&2; exit 1; }

"$QV_WINE" reg delete 'HKCU\Control Panel\Desktop' /v Wallpaper /f >/dev/null 2>&1
listed=()
for p in "${pictures[@]}"; do listed+=("$(windows_path "$p")"); done
probe pictures "${listed[@]}" ||
  fail "cannot write the settings"
start_agent

before=$(probe wallpaper)
echo "before: $before"
grep -qi '\\qvwallpa\.bmp|.*\\qvwallpa\.bmp|' <<<"$before" ||
  fail "the start-up run did not put the program's bitmap in effect"
[ "${before##*|}" = "$first_size" ] || fail "the start-up wallpaper is not the first picture"

press_keys "$keys"
after=""
for _ in $(seq 20); do
  after=$(probe wallpaper)
  [ "${after##*|}" = "$second_size" ] && break
  sleep 0.5
done
echo "after:  $after"
wait "$catcher"
[ "${after##*|}" = "$second_size" ] ||
  fail "$keys did not change the wallpaper to the second picture"
registry=$(registry_wallpaper)
echo "registry: $registry"
grep -qi '\\qvwallpa\.bmp$' <<<"$registry" || fail "the registry does not name the program's bitmap"
[ -z "$(probe windows)" ] || fail "the hotkey showed a window"

if [ -n "${QV_SHOT_DIR:-}" ]; then
  # A desktop window of Wine's own paints the wallpaper now in effect.
  "$QV_WINE" explorer /desktop=qvshot,1024x768 "$probe" catch 15 >/dev/null 2>&1 &
  shooter=$!
  wait_for 20 xdotool search --name "^qvshot" || fail "the Wine desktop window did not come"
  shoot_settled "$QV_SHOT_DIR/wallpaper.png"
  wait "$shooter"
fi

end_agent
echo "keypress-wallpaper: $keys changed the wallpaper from $first_size to $second_size"
