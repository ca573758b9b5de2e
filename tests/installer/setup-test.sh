#!/usr/bin/env bash
# The setup program as a user meets it, in a fresh Wine prefix of its own:
#   1. silent install: files, Start-menu entries, the start-up value, the programs list's entry,
#      the setup's version resource; the program starts from the shortcut's target;
#   2. a simulated log-on starts the program from the start-up value; its start-up run ("-r")
#      changes boot screen, logon screen, wallpaper and browser skin, with boot.ini marked as the
#      boot.ini setup marks it;
#   3. upgrade with that agent running: it is ended (not undone) and runs the new program after,
#      with the user's settings kept;
#   4. silent uninstall: boot.ini, Winlogon and the browser are as before, nothing of Quorvex is
#      left but the settings (qv.dat, qvwallpa.bmp);
#   5. install and uninstall with /REMOVESETTINGS: nothing at all is left;
#   6. an uninstall whose undo run cannot write boot.ini keeps the kernel copy boot.ini names.
# usage: setup-test.sh SETUP PROBE FIXTURE_DIR WORK_DIR PICTURE GIF_PICTURE
set -uo pipefail
me=qv_setup_wine
[ $# -eq 6 ] || { echo "$me: usage: $0 SETUP PROBE FIXTURE_DIR WORK_DIR PICTURE GIF" >&2; exit 2; }
setup=$1 probe_exe=$2 fixtures=$3 work=$4 picture=$5 gif=$6
here=$(cd "$(dirname "$0")" && pwd)
golden=$here/../boot/golden
for f in "$setup" "$probe_exe" "$fixtures/ntoskrnl.exe" "$fixtures/logonui.exe" "$picture" "$gif" \
         "$golden/user-edited.ini" "$golden/marked-0.ini" "$golden/written.ini"; do
  [ -f "$f" ] || { echo "$me: missing input $f" >&2; exit 1; }
done

# The setup's own machine type picks the loader and the kind of prefix.
at=$(od -An -t u4 -j 60 -N 4 "$setup" | tr -d ' ')
case $(od -An -t x2 -j $((at + 4)) -N 2 "$setup" | tr -d ' ') in
  8664) export QV_WIN_ARCH=win64 ;;
  *)    export QV_WIN_ARCH=win32 ;;
esac
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix
# No menu entries on the Linux desktop for the prefix's shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
source "$here/../../scripts/wine-env.sh"
cleanup() {
  chattr -i "$WINEPREFIX/drive_c/boot.ini" 2>/dev/null
  "$WINESERVER" -k 2>/dev/null
  qv_stop_display
}
trap cleanup EXIT
qv_ensure_display || exit 1
echo "$me: fresh $QV_WIN_ARCH prefix $WINEPREFIX for $(basename "$setup")"
"$QV_WINE" wineboot -i >/dev/null 2>&1
"$QV_WINE" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
# One server for the whole test, so that the prefix's start-up runs once.
"$WINESERVER" -p

failures=0
fail() { echo "$me: FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "$me: ok: $*"; }
expect_eq() {  # expect_eq WHAT EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then pass "$1: $3"; else fail "$1: expected [$2], got [$3]"; fi
}
expect_file() { if [ -e "$2" ]; then pass "$1 exists"; else fail "$1 missing: $2"; fi; }
expect_gone() { if [ ! -e "$2" ]; then pass "$1 is gone"; else fail "$1 still there: $2"; fi; }
wine_() { "$QV_WINE" "$@" 2>/dev/null | tr -d '\r'; }
# For programs that may start others (the setup restarts the agent): no pipe that they would
# keep open.
run_quietly() { "$QV_WINE" "$@" >/dev/null 2>&1; }
probe() { wine_ "$probe_exe" "$@"; }
# reg_value KEY NAME: the value's data as "reg query" prints it, or nothing.
reg_value() {
  wine_ reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p" | head -1
}
reg_key_exists() { "$QV_WINE" reg query "$1" >/dev/null 2>&1; }
unix_path() { wine_ winepath -u "$1"; }
# The registry as the server has it now, searched for every name the program or setup writes.
registry_mentions() {
  "$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w 2>/dev/null
  grep -i -h -E 'quorvex|qvlogo|qvuihost|qvieskin|qvwallpa|qv\.dat' "$WINEPREFIX"/*.reg
  "$WINESERVER" -p
}
# The uninstaller processes running in this prefix (a silent uninstall copies itself to the
# temporary folder as Un.exe, starts that copy and returns at once).
uninstaller_pids() {
  local p
  for p in $(pgrep -f 'Un\.exe'); do
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$p"
  done
}
uninstall_silently() {
  run_quietly "$instdir_win\\uninstall.exe" /S "$@"
  for _ in $(seq 240); do
    [ -z "$(uninstaller_pids)" ] && return 0
    sleep 0.5
  done
  fail "the uninstaller did not finish within 2 minutes"
}

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvex'
winlogon_key='HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon'
toolbar_key='HKCU\Software\Microsoft\Internet Explorer\Toolbar'
instdir_win='C:\Program Files\Quorvex'
instdir=$WINEPREFIX/drive_c/Program\ Files/Quorvex
system=$(unix_path 'C:\windows\system32')
appdata=$(unix_path "$(wine_ cmd /c echo %APPDATA%)")/Quorvex
menu=$(unix_path "$(wine_ cmd /c echo %ALLUSERSPROFILE%)")
menu=$(find "$menu" -type d -path '*Start Menu/Programs' | head -1)/Quorvex
bootini=$WINEPREFIX/drive_c/boot.ini

# The prefix made to look like XP: its kernel and logon program (the test build's fakes), the
# browser's toolbar key, and a user's own boot.ini.
cp "$fixtures/ntoskrnl.exe" "$fixtures/logonui.exe" "$system/"
wine_ reg add "$toolbar_key" /f >/dev/null
cp "$golden/user-edited.ini" "$bootini"

echo "== 1. silent install"
run_quietly "$setup" /S
for f in Quorvex.exe pv.dll kz.dll language/qveng.lng language/qvdeu.lng uninstall.exe; do
  expect_file "installed $f" "$instdir/$f"
done
expect_file "Start-menu entry Quorvex" "$menu/Quorvex.lnk"
expect_file "Start-menu entry Uninstall Quorvex" "$menu/Uninstall Quorvex.lnk"
if [ -f "$(dirname "$setup")/Quorvex/Quorvex.chm" ]; then
  expect_file "Start-menu entry Quorvex Help" "$menu/Quorvex Help.lnk"
fi
expect_eq "start-up value" "\"$instdir_win\\Quorvex.exe\" -r" "$(reg_value "$run_key" Quorvex)"
expect_eq "programs list name" "Quorvex" "$(reg_value "$uninstall_key" DisplayName)"
expect_eq "programs list version" "1.04" "$(reg_value "$uninstall_key" DisplayVersion)"
expect_eq "programs list uninstall command" "\"$instdir_win\\uninstall.exe\"" \
          "$(reg_value "$uninstall_key" UninstallString)"
expect_eq "programs list icon" "$instdir_win\\Quorvex.exe,0" "$(reg_value "$uninstall_key" DisplayIcon)"
size=$(reg_value "$uninstall_key" EstimatedSize)
kib=$(( $(du -sk --apparent-size "$instdir" | cut -f1) ))
if [ -n "$size" ] && [ $((size)) -gt $((kib / 2)) ] && [ $((size)) -le $((kib + 8)) ]; then
  pass "programs list size: $((size)) KiB for $kib KiB on disk"
else
  fail "programs list size [$size] against $kib KiB on disk"
fi
expect_eq "setup version resource" "FileVersion=1.04 ProductVersion=1.04 fixed=1.4.0.0" \
          "$(probe version "$(wine_ winepath -w "$setup")")"

link=$(probe shortcut "$(wine_ winepath -w "$menu/Quorvex.lnk")")
target=${link%%|*}
expect_eq "shortcut target" "$instdir_win\\Quorvex.exe" "$target"
# Settings first: without them the program opens with the first-start wizard.
probe defaults || fail "settings not planted"
"$QV_WINE" "$target" >/dev/null 2>&1 &
if probe wait-agent; then
  expect_eq "program started from the shortcut's target" "$instdir_win\\Quorvex.exe" \
            "$(probe agent | cut -d'|' -f2)"
else
  fail "the program did not start from $target"
fi
probe quit || fail "the program did not end"

echo "== 2. start-up run with boot.ini marked"
cp "$golden/marked-0.ini" "$bootini"
probe changes "$(wine_ winepath -w "$picture")" "$(wine_ winepath -w "$picture")" \
              "$(wine_ winepath -w "$gif")" "$(wine_ winepath -w "$picture")" || fail "settings not planted"
probe minutes 13 || fail "settings not changed"
# An older program in place, so that the upgrade's copy is seen to be the new one.
cp "$instdir/Quorvex.exe" "$work/new-Quorvex.exe"
printf 'an older build' >>"$instdir/Quorvex.exe"
# A simulated log-on: wineboot runs the start-up values, ours among them.
"$QV_WINE" wineboot >/dev/null 2>&1
probe wait-agent || fail "the log-on did not start the agent"
sleep 2
old_agent=$(probe agent | cut -d'|' -f1)
expect_file "kernel copy" "$system/QVLOGO.EXE"
expect_file "logon program copy" "$system/QVUIHOST.EXE"
expect_eq "Winlogon UIHost" 'C:\windows\system32\QVUIHOST.EXE' "$(reg_value "$winlogon_key" UIHost)"
expect_eq "toolbar BackBitmap" "$(wine_ cmd /c echo %APPDATA%)\\Quorvex\\qvieskin.bmp" \
          "$(reg_value "$toolbar_key" BackBitmap)"
expect_file "toolbar picture" "$appdata/qvieskin.bmp"
expect_file "wallpaper" "$appdata/qvwallpa.bmp"
settings_before=$(probe settings)
echo "$me: settings: $settings_before"

echo "== 3. upgrade with the agent running"
run_quietly "$setup" /S
probe wait-agent || fail "no agent after the upgrade"
sleep 2
agent=$(probe agent)
[ -n "$agent" ] && [ "${agent%%|*}" != "$old_agent" ] && pass "a new agent process: $agent" ||
  fail "agent after the upgrade [$agent], before [$old_agent]"
expect_eq "the agent's program" "$instdir_win\\Quorvex.exe" "${agent#*|}"
cmp -s "$instdir/Quorvex.exe" "$work/new-Quorvex.exe" && pass "the installed program is the new one" ||
  fail "the installed program was not replaced"
expect_eq "settings kept" "$settings_before" "$(probe settings)"
cmp -s "$bootini" "$golden/marked-0.ini" && pass "boot.ini still marked" || fail "the upgrade changed boot.ini"
expect_eq "Winlogon UIHost after the upgrade" 'C:\windows\system32\QVUIHOST.EXE' \
          "$(reg_value "$winlogon_key" UIHost)"
[ -n "$(reg_value "$toolbar_key" BackBitmap)" ] && pass "toolbar skin kept" || fail "the upgrade removed the toolbar skin"

echo "== 4. silent uninstall, settings kept"
uninstall_silently
# Wine keeps a hook library loaded in every program that got messages while the hook was set
# until it ends, so pv.dll may only be marked for removal at the next start.
if [ -e "$instdir/pv.dll" ]; then
  "$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w 2>/dev/null
  grep -i -A3 'PendingFileRenameOperations' "$WINEPREFIX/system.reg" | grep -q -i 'Quorvex\\\\pv.dll' &&
    pass "pv.dll is in use and marked for removal at the next start" ||
    fail "pv.dll is left and not marked for removal"
  "$WINESERVER" -p
  echo "$me: restarting Windows (wineboot)"
  run_quietly wineboot
fi
probe agent >/dev/null && fail "an agent still runs" || pass "no agent runs"
cmp -s "$bootini" "$golden/written.ini" && pass "boot.ini as before the marking (written form)" ||
  { fail "boot.ini after the uninstall:"; cat -A "$bootini" >&2; }
expect_eq "Winlogon UIHost" 'C:\windows\system32\logonui.exe' "$(reg_value "$winlogon_key" UIHost)"
expect_eq "toolbar BackBitmap" "" "$(reg_value "$toolbar_key" BackBitmap)"
for f in "$system/QVLOGO.EXE" "$system/QVUIHOST.EXE" "$appdata/qvieskin.bmp" "$bootini.qvbak" \
         "$instdir" "$menu"; do
  expect_gone "$(basename "$f")" "$f"
done
expect_eq "start-up value" "" "$(reg_value "$run_key" Quorvex)"
reg_key_exists "$uninstall_key" && fail "the programs list's entry is still there" ||
  pass "the programs list's entry is gone"
expect_eq "what remains in the settings folder" "qv.dat qvwallpa.bmp" "$(ls "$appdata" | sort | xargs)"
left=$(registry_mentions)
echo "$me: registry lines naming Quorvex or its files:"; echo "${left:-(none)}"
others=$(grep -v -i 'qvwallpa\.bmp' <<<"$left")
[ -z "$others" ] && pass "only the wallpaper in effect names a Quorvex file" ||
  fail "registry lines left: $others"

echo "== 5. install, then uninstall with /REMOVESETTINGS"
run_quietly "$setup" /S /NOSTARTUP
expect_eq "no start-up value with /NOSTARTUP" "" "$(reg_value "$run_key" Quorvex)"
uninstall_silently /REMOVESETTINGS
expect_gone "settings folder" "$appdata"
expect_gone "program folder" "$instdir"
expect_eq "desktop wallpaper value" "" "$(reg_value 'HKCU\Control Panel\Desktop' Wallpaper)"
left=$(registry_mentions)
[ -z "$left" ] && pass "no registry line names Quorvex or its files" || fail "registry lines left: $left"
files=$(find "$WINEPREFIX/drive_c" -iname '*quorvex*' -o -iname 'qv*.bmp' -o -iname 'QVLOGO*' -o \
  -iname 'QVUIHOST*' -o -iname 'qv.dat' -o -iname 'boot.ini.qv*')
[ -z "$files" ] && pass "no file of Quorvex is left in drive C:" || fail "files left: $files"

echo "== 6. an undo run that cannot write boot.ini: the kernel copy it names stays"
run_quietly "$setup" /S /NOSTARTUP
cp "$golden/marked-0.ini" "$bootini"
cp "$fixtures/ntoskrnl.exe" "$system/QVLOGO.EXE"
if chattr +i "$bootini"; then
  uninstall_silently /REMOVESETTINGS
  chattr -i "$bootini"
  cmp -s "$bootini" "$golden/marked-0.ini" && pass "boot.ini still marked: it could not be written" ||
    fail "boot.ini changed although it could not be written"
  expect_file "the kernel copy that boot.ini names" "$system/QVLOGO.EXE"
  expect_gone "program folder" "$instdir"
else
  fail "chattr could not make boot.ini unwritable (this step needs root)"
fi
rm -f "$system/QVLOGO.EXE" "$bootini".qv*

echo "$me: $failures failure(s)"
[ "$failures" -eq 0 ]
