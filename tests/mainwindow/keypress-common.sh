# Sourced by the key-press tests: the display and prefix, the probe, and the steps they share.
# The caller sets `me` (its name for messages), `probe` (the probe program) and `program`.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
qv_ensure_prefix
trap 'qv_stop_display' EXIT
qv_ensure_display || exit 1

# The Windows path of a Linux path, through Wine's drive Z:.
windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
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
  # Idle, it has shown whatever its start shows.
  probe idle || fail "the program did not reach its message loop"
  [ -z "$(probe windows)" ] || fail "the start-up run showed a window"
}

# Presses KEYS while the probe's own window has the X focus and is Wine's foreground window:
# Wine sees key presses only then. The probe's window stays for 12 seconds; `wait "$catcher"`
# after the checks.
press_keys() {
  probe catch 12 &
  catcher=$!
  local focus
  focus=$(xdotool search --sync --name "qv key catcher" | head -1)
  xdotool windowfocus --sync "$focus" 2>/dev/null || xdotool windowfocus "$focus"
  wait_for 10 xdotool search --name "qv key catcher \(active\)" ||
    fail "the probe's window did not become the active window"
  xdotool key --clearmodifiers "$1"
}

# wait_for SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds; fails
# after SECONDS.
wait_for() {
  local limit=$(($1 * 10)) i; shift
  for ((i = 0; i < limit; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

end_agent() {
  probe quit || fail "the agent did not end"
  wait "$agent"
  probe remove >/dev/null
}
