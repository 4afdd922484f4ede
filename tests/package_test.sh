#!/usr/bin/env bash
# Checks the Debian package as Debian would (lintian, the AppStream validator, the menu entry's
# validator, the manual page), and the names and summaries it gives in English and Korean; installs it
# with apt, starts the installed Astrolume the way its menu entry does (the command named by Exec=),
# checks the window and its planet maps on a screenshot, and quits it with Escape. Needs root (it installs the package), lintian, appstream, man-db,
# desktop-file-utils, Xvfb, xdotool and ImageMagick.
# Usage: tests/package_test.sh [--root DIR] DEB [OUT]
#   --root DIR: installs and starts the package inside the Debian tree DIR (chroot) instead of this
#   system, a package of another architecture too where the kernel runs its programs (binfmt_misc); the
#   caller mounts /proc, /dev and this machine's /tmp/.X11-unix there (scripts/test_arm64.sh).
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
tree=""
if [ "${1:-}" = --root ]; then
  tree=$(readlink -f "$2")
  shift 2
fi
deb=$(readlink -f "$1")
out=${2:-$(mktemp -d)}
mkdir -p "$out"
# A command in the system the package goes into.
inTree() { if [ -n "$tree" ]; then chroot "$tree" "$@"; else "$@"; fi; }

app_id=org.astrolume.astrolume

# Any error or warning fails; the package's own overrides, each with its reason, are honoured.
lintian --fail-on error,warning --display-info "$deb"
# The metadata as a software centre reads it, and with the files it names (the menu entry).
contents="$out/package-contents"
rm -rf "$contents" && dpkg-deb -x "$deb" "$contents"
appstreamcli validate-tree --no-net "$contents"

# In a tree, the package's dependencies alone must make it run: no recommended packages.
installed=$deb
options=()
if [ -n "$tree" ]; then
  installed=/tmp/$(basename "$deb")
  cp "$deb" "$tree$installed"
  options=(--no-install-recommends)
fi
inTree env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${options[@]}" "$installed" </dev/null \
  >"$out/apt.log" 2>&1 || {
  tail -n 30 "$out/apt.log"
  exit 1
}
appstreamcli validate --no-net "$tree/usr/share/metainfo/$app_id.metainfo.xml"
desktop-file-validate "$tree/usr/share/applications/$app_id.desktop"
# The name and summary in each language: the menu entry's, and the software centre's as AppStream
# itself reads them (its YAML form, one "  LANGUAGE: value" line each), the same in both.
appstreamcli convert "$tree/usr/share/metainfo/$app_id.metainfo.xml" "$out/metainfo.yml" >/dev/null
inYaml() { # FIELD LANGUAGE
  awk -v field="$1:" -v prefix="  $2: " '$0 == field { inside = 1; next } /^[^ ]/ { inside = 0 }
    inside && index($0, prefix) == 1 { print substr($0, length(prefix) + 1); exit }' "$out/metainfo.yml"
}
inDesktopEntry() { awk -v key="$1=" 'index($0, key) == 1 { print substr($0, length(key) + 1) }' "$tree/usr/share/applications/$app_id.desktop"; }
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
# `man astrolume` finds the games-section page and shows it (in a tree, this system's man reads its pages).
manPath=()
[ -z "$tree" ] || manPath=(-M "$tree/usr/share/man")
page=$(man "${manPath[@]}" -w astrolume)
[ "$page" = "$tree/usr/share/man/man6/astrolume.6.gz" ] || { echo "man astrolume finds $page" >&2; exit 1; }
MANWIDTH=80 man "${manPath[@]}" -P cat astrolume >"$out/astrolume.6.txt"
grep -q '^CONTROLS$' "$out/astrolume.6.txt" || { echo "the manual page shows no CONTROLS" >&2; exit 1; }
command=$(sed -n 's/^Exec=//p' "$tree/usr/share/applications/$app_id.desktop")
[ "$command" = astrolume ] && inTree sh -c 'command -v astrolume' >/dev/null

export LIBGL_ALWAYS_SOFTWARE=1
. "$here/../scripts/display.sh"
. "$here/first_frame.sh"
startPrivateXvfb "$out"
cleanup() { kill "$xvfb" 2>/dev/null || true; [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true; }
trap cleanup EXIT

# Under an emulator (another architecture's package) the first frame takes a minute or more.
inTree sh -c "cd / && exec $command" &
app=$!
# The installed images must have been found: the Earth is blue-ish, not the grey of an untextured body.
awaitTexturedFrame "$out/installed.png" "$([ -n "$tree" ] && echo 300 || echo 30)"
quitWithEscape "$app"
app=""
echo "package test passed"
