#!/usr/bin/env bash
# Runs one Windows program under Wine in the test prefix (CTest's emulator for the Windows build).
# Without a display it runs on an Xvfb of its own for the length of the program.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
qv_ensure_prefix
trap qv_stop_display EXIT
qv_ensure_display
"$QV_WINE" "$@"
