#!/usr/bin/env bash
# Renders the pictures in docs/ with the real planet maps, on a private Xvfb:
#   docs/system.png    the whole system as it first appears
#   docs/info-box.png  Saturn's information box
#   docs/saturn.png    the Saturn close-up behind it
# Usage: scripts/make_screenshots.sh [BUILD_DIR]   (default: build/, needs astrolume and make_body_images)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
program=$build/astrolume
converter=$build/tools/make_body_images
[ -x "$converter" ] || converter=$build/make_body_images
for f in "$program" "$converter"; do
  [ -x "$f" ] || { echo "missing $f: build it first" >&2; exit 1; }
done
maps=${ASTROLUME_MAPS:-/usr/share/openuniverse/textures}

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "make_screenshots: $*" >&2; exit 1; }

"$converter" "$maps" "$work/image" >/dev/null || fail "could not convert the maps in $maps"

# No window manager, so the windows have no frames.
. "$root/scripts/display.sh"
startPrivateXvfb "$work" || fail "Xvfb did not start"
xvfb_pid=$xvfb
export LIBGL_ALWAYS_SOFTWARE=1 NO_AT_BRIDGE=1

(cd "$work" && exec "$program") >"$work/astrolume.log" 2>&1 &
app_pid=$!

window_named() { timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" | head -n1; }
shoot() { import -window root -crop "$1" +repage "$2"; }   # geometry WxH+X+Y, then the file

main=$(window_named '^Astrolume$') || fail "no Astrolume window"
sleep 1 # the first frame
# 800: the window's size, windowSize in app/app.h, which this script cannot read.
shoot 800x800+0+0 "$root/docs/system.png"

# Space switches the model's animation off, so a menu click does not set the close-up turning.
xdotool windowfocus --sync "$main" key space
xdotool mousemove 100 100 click 3
menu=$(window_named '^freeglut menu$' 5) || fail "the menu did not open"
eval "$(xdotool getwindowgeometry --shell "$menu")"
entry_height=$(( (HEIGHT - 4) / 11 ))
xdotool mousemove $(( X + WIDTH / 2 )) $(( Y + 2 + entry_height * 6 + entry_height / 2 ))  # Saturn
sleep 0.2
xdotool click 1

box=$(window_named '^토성$' 10) || fail "no box for Saturn"
sleep 0.5 # let GTK paint it
eval "$(xdotool getwindowgeometry --shell "$box")"
shoot "${WIDTH}x${HEIGHT}+${X}+${Y}" "$root/docs/info-box.png"
xdotool windowfocus --sync "$box" key Return
sleep 1
shoot 800x800+0+0 "$root/docs/saturn.png"

xdotool windowfocus --sync "$main" key Escape
echo "wrote docs/system.png docs/info-box.png docs/saturn.png"
