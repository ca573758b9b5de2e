#!/usr/bin/env bash
# Unpacks the built Quorvex.chm and checks that every topic the program opens is in it, with
# its title, and that the contents and the index name only topics that exist.
set -euo pipefail
chm=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
extract_chmLib "$chm" "$work" >/dev/null
fail=0
while IFS='|' read -r topic title; do
  if [ ! -f "$work/$topic" ]; then echo "missing topic $topic"; fail=1; continue; fi
  grep -q "<title>$title</title>" "$work/$topic" || { echo "$topic: title is not \"$title\""; fail=1; }
done <<'LIST'
index.htm|Quorvex Help
boot_screen_changer.htm|Boot Screen page
wallpaper_changer.htm|Wallpaper page
ie_skin_changer.htm|IE Skin page
logon_screen_changer.htm|Logon Screen page
screen_saver_changer.htm|Screen Saver page
preferences.htm|Preferences page
boot_ini_setup.htm|BOOT.INI Setup
undo.htm|Undoing the changes (-u)
LIST
for sitemap in "$work"/*.hhc "$work"/*.hhk; do
  [ -f "$sitemap" ] || { echo "no contents or index file"; fail=1; continue; }
  for local in $(grep -o 'name="Local" value="[^"]*"' "$sitemap" | sed 's/.*value="//; s/"$//'); do
    [ -f "$work/$local" ] || { echo "$(basename "$sitemap") names missing $local"; fail=1; }
  done
done
[ $fail -eq 0 ] && echo "help: every topic, the contents and the index are in $chm"
exit $fail
