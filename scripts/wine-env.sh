# Sourced by the scripts that run Windows programs: picks the Wine loader and the test prefix.
#
# The shipped program is 32-bit. Where this host runs 32-bit Linux programs, Wine's 32-bit loader
# runs it in a 32-bit prefix. Some kernels have 32-bit emulation switched off; there Wine cannot
# start any 32-bit program, and the same sources built for 64-bit Windows run in a 64-bit prefix.

QV_ROOT=${QV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

qv_host_runs_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

if [ -z "${QV_WIN_ARCH:-}" ]; then
  if qv_host_runs_32bit; then QV_WIN_ARCH=win32; else QV_WIN_ARCH=win64; fi
fi
if [ "$QV_WIN_ARCH" = win32 ]; then
  QV_WINE=/usr/lib/wine/wine
else
  QV_WINE=/usr/lib/wine/wine64
fi
QV_WIN_BUILD=${QV_WIN_BUILD:-$QV_ROOT/build/$QV_WIN_ARCH}
export QV_WIN_ARCH QV_WINE QV_WIN_BUILD
export WINEPREFIX=${WINEPREFIX:-$QV_ROOT/build/wineprefix-$QV_WIN_ARCH}
export WINEARCH=$QV_WIN_ARCH
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINESERVER=/usr/lib/wine/wineserver${QV_WIN_ARCH#win}

QV_MARLETT=${QV_MARLETT:-/usr/share/wine/fonts/marlett.ttf}

# Creates the disposable test prefix once: a fresh Windows XP.
qv_ensure_prefix() {
  if [ ! -f "$WINEPREFIX/.quorvex-ready" ]; then
    echo "wine: creating the test prefix $WINEPREFIX ($QV_WIN_ARCH, Windows XP)"
    rm -rf "$WINEPREFIX"
    "$QV_WINE" wineboot -i >/dev/null 2>&1
    "$QV_WINE" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.quorvex-ready"
  fi
  qv_ensure_marlett
}

# Wine draws caption buttons with its Marlett font, which a new prefix here does not find: without
# it they show as the letters "0 1 r". Also mends prefixes made before this step existed.
qv_ensure_marlett() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  [ -f "$fonts/marlett.ttf" ] && return 0
  if [ ! -f "$QV_MARLETT" ]; then
    echo "wine: $QV_MARLETT is missing (package fonts-wine): caption buttons will show as letters" >&2
    return 0
  fi
  mkdir -p "$fonts" && cp "$QV_MARLETT" "$fonts/marlett.ttf"
}

# Starts an Xvfb display for this shell when none is set; qv_stop_display ends it.
qv_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n pid
  # Several work trees test at once; a lock whose server has gone is free (Xvfb takes it over).
  for n in $(seq 91 130); do
    if [ -e /tmp/.X$n-lock ]; then
      pid=$(tr -d ' \n' </tmp/.X$n-lock 2>/dev/null)
      [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && continue
    fi
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    QV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  done
  echo "wine: could not start Xvfb" >&2
  return 1
}

qv_stop_display() {
  if [ -n "${QV_XVFB_PID:-}" ]; then
    kill "$QV_XVFB_PID" 2>/dev/null || true
    wait "$QV_XVFB_PID" 2>/dev/null || true
    unset QV_XVFB_PID
  fi
}
