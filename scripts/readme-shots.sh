#!/usr/bin/env bash
# Makes the README's screenshots from the real setup program and the real program under Wine, in
# a fresh prefix on a Wine desktop inside Xvfb, and writes them to docs/images/:
#   setup-language.png   the setup's first page, the language choice
#   setup-welcome.png    its welcome page; setup-components.png the start-with-Windows option
#   setup-finish.png     its last page
#   quick-setup.png      the quick setup wizard that the installed program first shows
#   config-window.png    the configuration window after the wizard was cancelled
#   setup-welcome-german.png  the welcome page in German (the language an install remembered)
#   uninstall-question.png    the uninstaller asking whether to keep the settings (in German)
# It runs the build's setup program for this host (scripts/wine-env.sh decides which) and the
# setup test's helper; build first with scripts/build.sh.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh
if [ "$QV_WIN_ARCH" = win32 ]; then
  SETUP=$ROOT/dist/Quorvex-1.04-setup.exe
else
  SETUP=$QV_WIN_BUILD/dist/Quorvex-1.04-setup-amd64.exe
fi
for f in "$SETUP" "$QV_WIN_BUILD/tests/installer/qv_setup_probe.exe"; do
  [ -f "$f" ] || { echo "shots: $f is missing; run scripts/build.sh first" >&2; exit 1; }
done
OUT=${QV_SHOT_DIR:-$ROOT/docs/images}
mkdir -p "$OUT"
export WINEPREFIX=$ROOT/build/wineprefix-shots-$QV_WIN_ARCH
# No menu entries on the Linux desktop for the prefix's shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
trap '"$WINESERVER" -k 2>/dev/null; qv_stop_display' EXIT
qv_ensure_display
rm -rf "$WINEPREFIX"
echo "shots: fresh prefix $WINEPREFIX"
"$QV_WINE" wineboot -i >/dev/null 2>&1
"$QV_WINE" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
# Caption buttons need Wine's symbol font in the prefix.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
"$WINESERVER" -p 2>/dev/null || true  # a server already running stays

desktop() { "$QV_WINE" explorer /desktop=shots,800x600 "$@" >/dev/null 2>&1 & }
# shot NAME: the Wine desktop (the top left 800 x 600 of the display).
shot() {
  sleep "${2:-3}"
  import -window root -crop 800x600+0+0 +repage "$OUT/$1"
  echo "shots: $OUT/$1"
}
# wait_for CAPTION: until Wine has painted a window of that caption on the desktop.
wait_for() {
  for _ in $(seq 90); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 1
  done
  echo "shots: no window \"$1\"" >&2
  return 1
}
keys() { local w; w=$(xdotool search --name "$1" | head -1); shift
  xdotool windowfocus "$w" 2>/dev/null || true
  for k in "$@"; do xdotool key "$k"; sleep 1.5; done
}

desktop "$SETUP"
wait_for "Installer Language"
shot setup-language.png 6
keys "Installer Language" Return
wait_for "Quorvex 1.04 Setup"
shot setup-welcome.png 5
keys "Quorvex 1.04 Setup" Return Return
shot setup-components.png 3
keys "Quorvex 1.04 Setup" Return
sleep 8
shot setup-finish.png 2
# Finish with "Run Quorvex" ticked: the program's first start shows the quick setup wizard;
# Escape asks whether to cancel it, Return answers Yes, and the configuration window follows.
keys "Quorvex 1.04 Setup" Return
wait_for "Quorvex Quick Setup Wizard"
shot quick-setup.png 5
keys "Quorvex Quick Setup Wizard" Escape Return
wait_for "^Quorvex$"
shot config-window.png 8
"$WINESERVER" -k 2>/dev/null || true
sleep 2

# The German setup: the remembered language of the install picks it without asking.
"$WINESERVER" -p 2>/dev/null || true  # a server already running stays
"$QV_WINE" "$SETUP" /S >/dev/null 2>&1 || true
"$QV_WINE" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvex' \
  /v "Installer Language" /d 1031 /f >/dev/null 2>&1
desktop "$SETUP"
wait_for "Quorvex 1.04"
shot setup-welcome-german.png 6
"$WINESERVER" -k 2>/dev/null || true
sleep 2

# The uninstaller's question about the settings, which a first run and its end have written.
"$WINESERVER" -p 2>/dev/null || true
PROBE=$QV_WIN_BUILD/tests/installer/qv_setup_probe.exe
"$QV_WINE" 'C:\Program Files\Quorvex\Quorvex.exe' >/dev/null 2>&1 &
"$QV_WINE" "$PROBE" wait-agent >/dev/null 2>&1
"$QV_WINE" "$PROBE" quit >/dev/null 2>&1
desktop 'C:\Program Files\Quorvex\uninstall.exe'
wait_for "Quorvex 1.04"
keys "Quorvex 1.04" Return
shot uninstall-question.png 10
echo "shots: done"
