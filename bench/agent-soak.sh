#!/usr/bin/env bash
# Weeks of the resident agent's work in under an hour, watched for growth. Under Wine, the real
# agent runs from its start-up run with the wallpaper list (fitted) and the browser toolbar skin
# list both holding the corpus's thumbs/ photos on 1-second timers; bench/AgentSoak.cpp sends the
# four hotkeys between the timer ticks, opens and closes the configuration window every 100
# changes and then samples the process (memory, handles, GDI/USER objects, the hotkey changes'
# times). Beside each row this script counts the X resources of its display (xrestop), since Wine
# answers GetGuiResources with 0.
#   bench/agent-soak.sh CORPUS [CHANGES] [OUT]   (default 5000 changes; OUT/agent-soak.txt and
#                                                 OUT/agent-soak.png, default bench/soak-out)
# PLOT_ONLY=1 draws the plot and the summary again from an OUT/agent-soak.txt of an earlier run.
# Needs the Windows build with its tests; installs xrestop and gnuplot-nox when they are missing.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CORPUS=${1:?usage: agent-soak.sh CORPUS [CHANGES] [OUT]}
CHANGES=${2:-5000}
OUT=${3:-$ROOT/bench/soak-out}
me=agent-soak
for tool in xrestop gnuplot; do
  command -v "$tool" >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${tool/gnuplot/gnuplot-nox}" >/dev/null ||
    { echo "$me: cannot install $tool" >&2; exit 1; }
done
source "$ROOT/scripts/wine-env.sh"
probe=$QV_WIN_BUILD/tests/mainwindow/qv_agent_probe.exe
driver=$QV_WIN_BUILD/bench/qv_agent_soak.exe
program=$(sed -n 's/^QV_DIST_DIR:PATH=//p' "$QV_WIN_BUILD/CMakeCache.txt")/Quorvex.exe
for f in "$probe" "$driver" "$program" "$CORPUS/thumbs"; do
  [ -e "$f" ] || { echo "$me: $f is missing" >&2; exit 1; }
done
source "$ROOT/tests/mainwindow/keypress-common.sh"
mkdir -p "$OUT"
table=$OUT/agent-soak.txt

# The X resources on the soak's own display: pixmaps, windows, graphics contexts, all others and
# the pixmaps' bytes, summed over its clients (Wine's explorer, the agent, the driver). xrestop
# cannot tell the agent's client apart (Xvfb gives it no process id), and nothing else draws there.
x_resources() {
  xrestop -b -m 1 2>/dev/null | awk -F: '
    { gsub(/[ \t~]/, "", $1); gsub(/[ \t~]/, "", $2) }
    $1 == "pixmaps" { p += $2 } $1 == "windows" { w += $2 } $1 == "GCs" { g += $2 }
    $1 == "fonts" || $1 == "pictures" || $1 == "glyphsets" || $1 == "colormaps" ||
    $1 == "passivegrabs" || $1 == "cursors" || $1 == "unknowns" { o += $2 }
    $1 == "pixmapbytes" { b += $2 }
    END { printf "%d %d %d %d %d\n", p, w, g, o, b }'
}

if [ -z "${PLOT_ONLY:-}" ]; then
  "$QV_WINE" reg add 'HKCU\Software\Microsoft\Internet Explorer\Toolbar' /f >/dev/null 2>&1
  probe timers "$(windows_path "$CORPUS/thumbs")" || fail "cannot write the settings"
  start_agent
  "$QV_WINE" "$driver" "$CHANGES" 100 2>&1 | sed -u 's/\r$//' | while read -r line; do
    case $line in
      changes*) echo "$line x_pixmaps x_windows x_gcs x_other x_pixmap_bytes" ;;
      [0-9]*) echo "$line $(x_resources)" ;;
      *) echo "$me: $line" >&2 ;;
    esac
  done | tee "$table"
  end_agent
fi

rows=$(grep -c '^[0-9]' "$table")
[ "$rows" -ge 3 ] || { echo "$me: only $rows rows" >&2; exit 1; }
gnuplot <<EOF
set terminal png size 900,520
set output "$OUT/agent-soak.png"
set title "Resident agent under Wine: $(tail -1 "$table" | cut -d' ' -f1) changes"
set xlabel "changes"
set ylabel "private memory (KiB)"
set y2label "handles"
set yrange [0:*]
set y2range [0:*]
set ytics nomirror
set y2tics
set key bottom right
plot "$table" every ::1 using 1:3 with linespoints title "private memory (KiB)", \
     "" every ::1 using 1:5 axes x1y2 with linespoints title "handles"
EOF
# From the row after the first 100 changes to the last: the growth the goal allows none of.
awk 'NR == 3 { p = $3; v = $4; h = $5; c = $1 }
     NR > 1 && $9 > slow { slow = $9 }
     END { printf "after %d changes: private %+d KiB, virtual %+d KiB, handles %+d (from change %d); slowest hotkey change %d ms\n",
                  $1, $3 - p, $4 - v, $5 - h, c, slow }' "$table"
