# Sourced by the key-press tests: the display and prefix, the probe, and the steps they share.
# The caller sets `me` (its name for messages), `probe` (the probe program) and `program`.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
qv_ensure_prefix
trap 'qv_stop_display' EXIT
qv_ensure_display || exit 1

probe() { "$QV_WINE" "$probe" "$@" 2>/dev/null | tr -d '\r'; }
fail() {
  echo "$me: $*" >&2
  probe quit >/dev/null
  probe remove >/dev/null
  exit 1
}

# Starts the program's start-up run and waits until it is resident without a window shown.
start_agent() {
  "$QV_WINE" "$program" -r >/dev/null 2>&1 &
  agent=$!
  probe wait || fail "the program's window did not come"
  sleep 3
  [ -z "$(probe windows)" ] || fail "the start-up run showed a window"
}

# Presses KEYS while the probe's own window has the X focus: Wine sees key presses only then.
# The probe's window stays for 12 seconds; `wait "$catcher"` after the checks.
press_keys() {
  probe catch 12 &
  catcher=$!
  local focus
  focus=$(xdotool search --sync --name "qv key catcher" | head -1)
  xdotool windowfocus --sync "$focus" 2>/dev/null || xdotool windowfocus "$focus"
  sleep 0.5
  xdotool key --clearmodifiers "$1"
}

end_agent() {
  probe quit || fail "the agent did not end"
  wait "$agent"
  probe remove >/dev/null
}
