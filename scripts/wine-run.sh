#!/usr/bin/env bash
# Runs one Windows program under Wine in the test prefix (CTest's emulator for the Windows build).
# The program's own PE header decides between the 32-bit and the 64-bit loader and prefix, so
# either build's tests run wherever the host can run them.
# Without a display it runs on an Xvfb of its own for the length of the program.
set -euo pipefail

# pe_machine FILE: the PE header's machine field (14c: x86, 8664: x64), or nothing.
pe_machine() {
  local at
  at=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$at" ] && od -An -t x2 -j $((at + 4)) -N 2 "$1" 2>/dev/null | tr -d ' '
}

if [ -z "${QV_WIN_ARCH:-}" ] && [ -f "${1:-}" ]; then
  case $(pe_machine "$1") in
    8664) QV_WIN_ARCH=win64 ;;
    14c)  QV_WIN_ARCH=win32 ;;
  esac
fi
source "$(dirname "$0")/wine-env.sh"
qv_ensure_prefix
trap qv_stop_display EXIT
qv_ensure_display
"$QV_WINE" "$@"
