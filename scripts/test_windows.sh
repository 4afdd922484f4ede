#!/usr/bin/env bash
# Tests the Windows build of scripts/build_windows.sh under Wine, on a private Xvfb with a throw-away
# Wine prefix: the decoder tests, which need no window; the real astrolume.exe from the zip, driven with
# xdotool like a user and read through win32_window_probe.exe (Wine's windows are not X windows); and
# the installer. With an argument, also saves a picture of the program with its Saturn box there (PNG).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build-windows"
picture=${1:-}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
packages=(wine wine64 fonts-wine fonts-nanum xvfb xdotool imagemagick unzip)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$out/CPackConfig.cmake" 2>/dev/null || true)
zip="$out/$name.zip"
installer="$out/$name.exe"
probe="$out/tests/win32_window_probe.exe"
if [ -z "$name" ] || [ ! -f "$zip" ] || [ ! -f "$installer" ] || [ ! -f "$probe" ]; then
  echo "No Windows build in $out: run scripts/build_windows.sh first" >&2
  exit 1
fi

work=$(mktemp -d)
xvfb=""
program=""
cleanup() {
  set +e
  [ -z "$program" ] || kill "$program" 2>/dev/null
  [ ! -d "$work/prefix" ] || WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Anything that goes wrong ends the run, with the screen as it was kept for a look.
fail() {
  echo "FAILED: $*" >&2
  import -window root "/tmp/astrolume-windows-failure.png" 2>/dev/null &&
    echo "the screen is in /tmp/astrolume-windows-failure.png" >&2
  [ ! -f "$work/program.log" ] || { echo "program output:" >&2; cat "$work/program.log" >&2; }
  exit 1
}
checks=0
pass() {
  checks=$((checks + 1))
  echo "ok: $*"
}

# --- The desktop: a 1280 x 1024 Xvfb and a Wine virtual desktop as large, so the 800 x 800 window fits
# and takes the focus xdotool gives it.
. "$root/scripts/display.sh"
startPrivateXvfb "$work" 1280x1024
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1
# Hangul in the boxes needs a font that has it behind Tahoma, as Windows has one; a crash ends the
# program at once instead of waiting in winedbg's dialog.
nanum=$(printf 'NanumGothic.ttf,NanumGothic' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//')
cat >"$work/settings.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1280x1024"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"=hex(7):$nanum,00,00
EOF
wine regedit /S "$work/settings.reg"
wineserver -w # the desktop comes up as set here once everything started so far has ended

echo "== Decoder tests under Wine"
(cd "$root" && ctest --preset windows --parallel "$(nproc)")

# --- Looking at the program.
# Where the model is, in the window: its size, and the bodies' places on the x axis at rest.
size=$(sed -n 's/^constexpr int windowSize = \([0-9]*\);.*/\1/p' "$root/app/app.h")
mapfile -t bodies < <(sed -n 's/^constexpr BodyPlace [a-z]*{"\([A-Za-z]*\)", \([-0-9.]*\),.*/\1 \2/p' \
  "$root/tests/support/model_on_screen.h")
[ -n "$size" ] && [ ${#bodies[@]} -eq 11 ] || fail "cannot read the window size and the bodies' places"
centre=$((size / 2))
# Pixel column / row of a model coordinate; the window shows -30 to 30 units.
pixelX() { awk -v u="$1" -v s="$size" 'BEGIN { printf "%d", int(s / 2 + u * s / 60 + 0.5) }'; }
pixelY() { awk -v u="$1" -v s="$size" 'BEGIN { printf "%d", int(s / 2 - u * s / 60 + 0.5) }'; }
placeOf() { for b in "${bodies[@]}"; do [ "${b% *}" = "$1" ] && pixelX "${b#* }"; done; }

# findWindow TITLE: the first visible top-level window so titled, into w_handle, w_process, w_owner,
# w_ownerProcess, w_outer (left top right bottom) and w_client.
findWindow() {
  local line
  line=$(wine "$probe" windows | awk -F'\t' -v title="$1" '$8 == title { print; exit }')
  [ -n "$line" ] || return 1
  IFS=$'\t' read -r w_handle w_process _ w_owner w_ownerProcess w_outer w_client _ <<<"$line"
}
waitForWindow() { # TITLE SECONDS
  for _ in $(seq $(($2 * 5))); do findWindow "$1" && return 0 || sleep 0.2; done
  return 1
}
waitUntilGone() { # TITLE SECONDS
  for _ in $(seq $(($2 * 5))); do
    findWindow "$1" || return 0
    sleep 0.2
  done
  return 1
}
countWindows() { wine "$probe" windows | awk -F'\t' -v title="$1" '$8 == title' | wc -l; }

# Clicks the title bar of the window last found, so that the keys that follow go to it.
clickTitleBar() {
  local left top right _ clientTop
  read -r left top right _ <<<"$w_outer"
  read -r _ clientTop _ _ <<<"$w_client"
  xdotool mousemove $((left + (right - left) / 3)) $(((top + clientTop) / 2)) click 1
  sleep 0.3
}
closeButton() {
  local left top right _ clientLeft clientTop
  read -r left top right _ <<<"$w_outer"
  read -r clientLeft clientTop _ _ <<<"$w_client"
  xdotool mousemove $((right - (clientLeft - left) - 8)) $(((top + clientTop) / 2)) click 1
}

# The main window's client area as it is on the screen, then single pixels of it ("red green blue").
grabMain() {
  findWindow Astrolume || fail "no Astrolume window"
  read -r mainLeft mainTop _ _ <<<"$w_client"
  import -window root -crop "${size}x${size}+${mainLeft}+${mainTop}" +repage -depth 8 "rgb:$work/main.rgb"
}
pixel() { od -An -tu1 -v -j $((($2 * size + $1) * 3)) -N3 "$work/main.rgb"; }
brightest() { pixel "$1" "$2" | awk '{ m = $1; if ($2 > m) m = $2; if ($3 > m) m = $3; print m }'; }
isLit() { [ "$(brightest "$1" "$2")" -ge 24 ]; }
isBlack() { [ "$(brightest "$1" "$2")" -le 8 ]; }
# A whole row of the window is background.
rowIsBlack() { [ "$(od -An -tu1 -v -j $(($1 * size * 3)) -N $((size * 3)) "$work/main.rgb" | tr -s ' \n' '\n' | sort -n | tail -n1)" -le 8 ]; }
# colour X Y TEST: TEST is an awk condition on the pixel's r, g and b.
colour() { pixel "$1" "$2" | awk '{ r = $1; g = $2; b = $3; exit !('"$3"') }'; }
waitForPicture() { # CONDITION-FUNCTION SECONDS
  for _ in $(seq $(($2 * 5))); do
    grabMain
    "$1" && return 0
    sleep 0.2
  done
  return 1
}
sunLit() { isLit "$centre" "$centre"; }

startProgram() { # FOLDER: runs astrolume.exe there, as double-clicking it would
  (cd "$1" && exec wine astrolume.exe) >"$work/program.log" 2>&1 &
  program=$!
}
waitForExit() { # SECONDS: sets $status
  for _ in $(seq $(($1 * 10))); do
    if ! kill -0 "$program" 2>/dev/null; then
      status=0
      wait "$program" || status=$?
      program=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# What is wrong with the picture grabbed last as the first frame (every body on the x axis, the space
# around empty, the planet maps on the bodies); nothing when it is right.
firstFrameProblem() {
  local body units x
  for body in "${bodies[@]}"; do
    isLit "$(pixelX "${body#* }")" "$centre" || { echo "${body% *} is not drawn on the x axis"; return; }
  done
  for units in 15 -15 29 -29; do
    rowIsBlack "$(pixelY "$units")" || { echo "something is drawn $units units off the axis"; return; }
  done
  # Untextured bodies are pure grey; these maps are distinctly blue, sandy and rusty.
  x=$(placeOf Neptune)
  colour "$x" "$centre" 'b > r + 60' || { echo "Neptune is not blue: $(pixel "$x" "$centre")"; return; }
  x=$(placeOf Saturn)
  colour "$x" "$centre" 'r > b + 50' || { echo "Saturn is not sandy: $(pixel "$x" "$centre")"; return; }
  x=$(placeOf Mars)
  colour "$x" "$centre" 'r > b + 30' || { echo "Mars is not rusty: $(pixel "$x" "$centre")"; return; }
}
firstFrameDrawn() { [ -z "$(firstFrameProblem)" ]; }

checkFirstFrame() {
  waitForWindow Astrolume 30 || fail "no Astrolume window"
  read -r left top right bottom <<<"$w_client"
  [ $((right - left)) -eq "$size" ] && [ $((bottom - top)) -eq "$size" ] ||
    fail "the window's inside is $((right - left)) x $((bottom - top)), not $size x $size"
  waitForPicture firstFrameDrawn 15 || fail "first frame: $(firstFrameProblem)"
  pass "first frame: the Sun lit at the centre, the eleven bodies along the middle row, textured"
}

saturnText='반지름(Km) : 60268
질량(10*24승 Kg) : 568
밀도(g/cm3) : 0.69
중력(지구=1) : 0.74
자전주기 : 10.7시간
공전주기 : 29.4년'

echo "== The program from the zip"
unzip -q "$zip" -d "$work/zip"
app="$work/zip/$name"
[ "$(find "$app/image" -name '*.bmp' | wc -l)" -eq 11 ] || fail "the zip does not hold the eleven images"
# Only Windows' own libraries: freeglut, libgcc, libstdc++ and winpthread are linked in.
dlls=$(x86_64-w64-mingw32-objdump -p "$app/astrolume.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
for dll in $dlls; do
  case $dll in
  advapi32.dll | gdi32.dll | glu32.dll | kernel32.dll | msvcrt.dll | opengl32.dll | user32.dll | winmm.dll) ;;
  *) fail "astrolume.exe needs $dll" ;;
  esac
done
pass "astrolume.exe needs only Windows' own DLLs: $dlls"

startProgram "$app"
checkFirstFrame
findWindow Astrolume
clickTitleBar
# The model starts with the animation switched on and a released button would set it going; one
# space switches it off, so the close-up below holds still.
xdotool key space
sleep 0.3
firstFrame=$(md5sum <"$work/main.rgb")
grabMain
[ "$(md5sum <"$work/main.rgb")" = "$firstFrame" ] || fail "space moved the model"

# The menu is freeglut's own window; its eleven entries share its height inside a 2-pixel border. It
# opens low on the left, below the box, where it stays drawn until the box is answered.
xdotool mousemove $((mainLeft + 20)) $((mainTop + 600)) click 3
waitForWindow "freeglut menu" 5 || fail "the right button opened no menu"
read -r left top right bottom <<<"$w_outer"
entry=$(((bottom - top - 4) / 11))
xdotool mousemove $(((left + right) / 2)) $((top + 2 + entry * 6 + entry / 2))
sleep 0.1
xdotool click 1
waitForWindow "토성" 10 || fail "choosing Saturn brought no box titled 토성"
[ "$w_owner" = 0 ] || fail "Saturn's box has an owner window"
[ "$(wine "$probe" text "$w_handle")" = "$saturnText" ] || fail "Saturn's box says: $(wine "$probe" text "$w_handle")"
[ "$(countWindows "토성")" -eq 1 ] || fail "more than one box"
grabMain
isLit "$(placeOf Pluto)" "$centre" || fail "the view changed while the box was up"
pass "menu \"Saturn\": one box titled 토성, without an owner, with Saturn's data in Korean"
if [ -n "$picture" ]; then # the window down to just below the box
  read -r _ _ _ boxBottom <<<"$(findWindow "토성" && echo "$w_outer")"
  read -r left top right _ <<<"$(findWindow Astrolume && echo "$w_outer")"
  import -window root -crop "$((right - left))x$((boxBottom + 20 - top))+$left+$top" +repage "$picture"
  echo "picture of the program and its box: $picture"
fi
findWindow "토성"
clickTitleBar
xdotool key Return
waitUntilGone "토성" 10 || fail "Return did not dismiss the box"
# The close-up disc has radius 6 units (the axis line runs down the middle: look beside it); the
# ring lies between 7 and 9 units, with space between.
closeUp() { isLit $((centre + 20)) "$centre" && isBlack "$(placeOf Neptune)" "$centre"; }
waitForPicture closeUp 10 || fail "no Saturn close-up after the box"
for side in -1 1; do
  isBlack "$(pixelX "$(awk -v s=$side 'BEGIN { print s * 6.6 }')")" "$centre" || fail "no gap between Saturn and its ring"
  isLit "$(pixelX "$(awk -v s=$side 'BEGIN { print s * 8.2 }')")" "$centre" || fail "no ring on side $side"
  isBlack "$(pixelX "$(awk -v s=$side 'BEGIN { print s * 9.8 }')")" "$centre" || fail "the ring is too wide"
done
pass "Return dismisses the box and the ringed close-up of Saturn is drawn"

findWindow Astrolume
clickTitleBar
xdotool key Escape
waitForExit 10 || fail "still running 10 s after Escape"
[ "$status" -eq 255 ] || fail "exit status $status after Escape"
pass "Escape ends the program with exit status 255"

echo "== An image that cannot be decoded"
cp -r "$app" "$work/corrupt"
head -c 30 "$app/image/earth.bmp" >"$work/corrupt/image/earth.bmp"
startProgram "$work/corrupt"
waitForWindow Error 30 || fail "no Error box for a cut-off earth.bmp"
[ "$(wine "$probe" text "$w_handle")" = "Image file is truncated." ] || fail "the Error box says: $(wine "$probe" text "$w_handle")"
# An error box is owned by the program's window that has the keyboard focus.
[ "$w_owner" != 0 ] && [ "$w_ownerProcess" = "$w_process" ] || fail "the Error box has no owner in the program"
[ "$(countWindows Error)" -eq 1 ] || fail "more than one Error box"
clickTitleBar
xdotool key Return
waitUntilGone Error 10 || fail "Return did not dismiss the Error box"
waitForWindow Astrolume 10 || fail "no Astrolume window after the Error box"
waitForPicture sunLit 15 || fail "nothing drawn after the Error box"
sleep 1
[ "$(countWindows Error)" -eq 0 ] || fail "a second Error box"
grabMain
# Untextured: lit white material, every channel alike.
colour "$(placeOf Earth)" "$centre" 'r >= 24 && r - b <= 6 && b - r <= 6 && g - b <= 6 && b - g <= 6' || fail "the Earth is not untextured grey: $(pixel "$(placeOf Earth)" "$centre")"
colour "$(placeOf Neptune)" "$centre" 'b > r + 60' || fail "Neptune lost its map"
kill -0 "$program" 2>/dev/null || fail "the program ended"
pass "a cut-off earth.bmp: one Error box owned by the program, then the model with a grey Earth"

findWindow Astrolume
closeButton
waitForExit 10 || fail "still running 10 s after its window was closed"
[ "$status" -eq 0 ] || fail "exit status $status after closing the window"
pass "closing the window ends the program"

echo "== The installer"
# What the prefix holds beside the user's temporary files, where the uninstaller leaves its own copy to
# be removed at the next start of Windows, as it does on Windows.
listPrefix() {
  find "$WINEPREFIX/drive_c" -path "$WINEPREFIX/drive_c/users/*/Temp" -prune -o -print | sort
  wine reg query 'HKLM\Software' /s 2>/dev/null | grep -i astrolume || true
  wine reg query 'HKCU\Software' /s 2>/dev/null | grep -i astrolume || true
}
wineserver -w
listPrefix >"$work/before-install"
wine "$installer" /S || fail "the installer failed"
installed="$WINEPREFIX/drive_c/Program Files/Astrolume"
[ -f "$installed/astrolume.exe" ] && [ "$(find "$installed/image" -name '*.bmp' | wc -l)" -eq 11 ] ||
  fail "nothing installed in Program Files"
[ -f "$installed/LICENCE.txt" ] && [ -f "$installed/licences/GPL-2.txt" ] || fail "no licence notes installed"
shortcut=$(find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/*' -name Astrolume.lnk)
[ -n "$shortcut" ] || fail "no Start-menu shortcut"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Astrolume' >/dev/null ||
  fail "no uninstall entry"
pass "/S installs the program, its images, the licences, a Start-menu shortcut and an uninstall entry"

# Started from its shortcut, from a folder without images: the shortcut's folder is where they are.
(cd "$work" && exec wine start /wait /unix "$shortcut") >"$work/program.log" 2>&1 &
program=$!
checkFirstFrame
findWindow Astrolume
clickTitleBar
xdotool key Escape
waitForExit 10 || fail "the installed program is still running 10 s after Escape"
pass "the installed program, started from its shortcut, draws the textured first frame"

wine "$installed/Uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller runs on from a copy of itself: wait for it to finish.
wineserver -w
listPrefix >"$work/after-uninstall"
diff "$work/before-install" "$work/after-uninstall" || fail "the uninstaller left the above behind"
pass "/S uninstalls and leaves nothing behind"

echo "== Windows end-to-end: $checks checks passed"
