#!/usr/bin/env bash
# Checks the Debian package as Debian would (lintian, the AppStream validator, the menu entry's
# validator, the manual page), and the names and summaries it gives in English and Korean; installs it
# with apt, starts the installed Astrolume the way its menu entry does (the command named by Exec=),
# checks the window and its planet maps on a screenshot, and quits it with Escape. Needs root (it installs the package), lintian, appstream, man-db,
# desktop-file-utils, Xvfb, xdotool and ImageMagick.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
deb=$(readlink -f "$1")
out=${2:-$(mktemp -d)}
mkdir -p "$out"

app_id=org.astrolume.astrolume

# Any error or warning fails; the package's own overrides, each with its reason, are honoured.
lintian --fail-on error,warning --display-info "$deb"
# The metadata as a software centre reads it, and with the files it names (the menu entry).
contents="$out/package-contents"
rm -rf "$contents" && dpkg-deb -x "$deb" "$contents"
appstreamcli validate-tree --no-net "$contents"

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" </dev/null >/dev/null
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml"
desktop-file-validate "/usr/share/applications/$app_id.desktop"
# The name and summary in each language: the menu entry's, and the software centre's as AppStream
# itself reads them (its YAML form, one "  LANGUAGE: value" line each), the same in both.
appstreamcli convert "/usr/share/metainfo/$app_id.metainfo.xml" "$out/metainfo.yml" >/dev/null
inYaml() { # FIELD LANGUAGE
  awk -v field="$1:" -v prefix="  $2: " '$0 == field { inside = 1; next } /^[^ ]/ { inside = 0 }
    inside && index($0, prefix) == 1 { print substr($0, length(prefix) + 1); exit }' "$out/metainfo.yml"
}
inDesktopEntry() { awk -v key="$1=" 'index($0, key) == 1 { print substr($0, length(key) + 1) }' "/usr/share/applications/$app_id.desktop"; }
# Rows: language, the desktop entry's key suffix, and what the name and the summary must be (Perl
# patterns): in English the program's name; in Korean the name too, the rest in Hangul.
for row in 'C||^Astrolume$|^[A-Z][ -~]+$' 'ko|[ko]|^Astrolume \p{Hangul}[\p{Hangul} ]*$|^\p{Hangul}[\p{Hangul}, ]*$'; do
  IFS='|' read -r lang suffix namePattern summaryPattern <<<"$row"
  name=$(inDesktopEntry "Name$suffix") summary=$(inDesktopEntry "Comment$suffix")
  [ "$name" = "$(inYaml Name "$lang")" ] && [ "$summary" = "$(inYaml Summary "$lang")" ] ||
    { echo "$lang: the menu entry says '$name', '$summary'; the software centre '$(inYaml Name "$lang")', '$(inYaml Summary "$lang")'" >&2; exit 1; }
  LC_ALL=C.UTF-8 grep -qP "$namePattern" <<<"$name" && LC_ALL=C.UTF-8 grep -qP "$summaryPattern" <<<"$summary" ||
    { echo "$lang: the name '$name' or the summary '$summary' is not as it should be" >&2; exit 1; }
  echo "name and summary ($lang): $name; $summary"
done
# `man astrolume` finds the games-section page and shows it.
page=$(man -w astrolume)
[ "$page" = /usr/share/man/man6/astrolume.6.gz ] || { echo "man astrolume finds $page" >&2; exit 1; }
MANWIDTH=80 man -P cat astrolume >"$out/astrolume.6.txt"
grep -q '^CONTROLS$' "$out/astrolume.6.txt" || { echo "the manual page shows no CONTROLS" >&2; exit 1; }
command=$(sed -n 's/^Exec=//p' "/usr/share/applications/$app_id.desktop")
[ "$command" = astrolume ] && command -v astrolume >/dev/null

export LIBGL_ALWAYS_SOFTWARE=1
. "$here/../scripts/display.sh"
startPrivateXvfb "$out"
cleanup() { kill "$xvfb" 2>/dev/null || true; [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true; }
trap cleanup EXIT

(cd / && exec $command) &
app=$!
window=$(timeout 30 xdotool search --sync --name '^Astrolume$' | head -1)
sleep 2
# The window's side, and where the Earth's centre is at rest, as tests/expected.txt has them.
expected() { sed -n "s/^$1 = //p" "$here/expected.txt"; }
side=$(expected window.side)
earthX=$(awk -v u="$(expected place.Earth)" -v s="$side" -v n="$(expected window.units)" \
  'BEGIN { printf "%d", int(s / 2 + u * s / n + 0.5) }')
import -window root -crop "${side}x${side}+0+0" "$out/installed.png"

# The installed images must have been found: the Earth is blue-ish, not the grey of an untextured body.
earth=$(convert "$out/installed.png" -crop "1x1+$earthX+$((side / 2))" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
read -r r g b <<<"$earth"
echo "Earth's centre: $r $g $b"
if [ "$r" = "$g" ] && [ "$g" = "$b" ]; then echo "the Earth is untextured" >&2; exit 1; fi

xdotool windowfocus "$window" 2>/dev/null; xdotool key Escape 2>/dev/null
status=0
wait "$app" || status=$?
app=""
echo "exit status $status"
[ "$status" -eq 255 ]
echo "package test passed"
