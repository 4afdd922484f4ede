#!/usr/bin/env bash
# Tests the Windows build of scripts/build_windows.sh under Wine, on a private Xvfb with a throw-away
# Wine prefix: the decoder tests, which need no window; what astrolume.exe declares (subsystem, icon,
# version); the real astrolume.exe from the zip, driven with xdotool like a user and read through
# win32_window_probe.exe (Wine's windows are not X windows); and the installer, its shortcut and its
# Programs and Features entry. With an argument, also saves a picture of the program with its Saturn box there (PNG).
# Every check runs and is reported as passed, failed, or skipped when a check it needs did not pass;
# the run fails at the end if any failed. What the program should show is in tests/expected.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build-windows"
picture=${1:-}

"$root/scripts/setup.sh" wine wine64 fonts-wine fonts-nanum xvfb xdotool imagemagick unzip icoutils

name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$out/CPackConfig.cmake" 2>/dev/null || true)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$out/CPackConfig.cmake" 2>/dev/null || true)
zip="$out/$name.zip"
installer="$out/$name.exe"
probe="$out/tests/win32_window_probe.exe"
if [ -z "$name" ] || [ ! -f "$zip" ] || [ ! -f "$installer" ] || [ ! -f "$probe" ]; then
  echo "No Windows build in $out: run scripts/build_windows.sh first" >&2
  exit 1
fi

# What the program shows: "NAME = VALUE" lines, "\n" standing for a line break.
expected() {
  local value
  value=$(sed -n "s/^$1 = //p" "$root/tests/expected.txt")
  [ -n "$value" ] || { echo "tests/expected.txt has no $1" >&2; return 1; }
  echo "${value//'\n'/$'\n'}"
}
size=$(expected window.side)
viewUnits=$(expected window.units)
mapfile -t bodies < <(sed -n 's/^place\.\([A-Za-z]*\) = \([-0-9.]*\)$/\1 \2/p' "$root/tests/expected.txt")
read -ra menuLabels <<<"$(expected menu)"
[ ${#bodies[@]} -eq 11 ] && [ ${#menuLabels[@]} -eq 11 ] || { echo "tests/expected.txt: not eleven bodies and menu entries" >&2; exit 1; }
centre=$((size / 2))

work=$(mktemp -d)
xvfb=""
cleanup() {
  set +e
  [ ! -d "$work/prefix" ] || WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# --- Checks. Each runs in a subshell of its own: fail ends that check alone, with the screen as it was
# kept for a look. A check whose needed checks did not pass is skipped, so nothing waits for a window
# that cannot come.
declare -A outcome=() # check name: passed, failed or skipped
checks=()
current=""
# The message boxes on the screen, each as '; the box "TITLE" is on the screen: "TEXT"', so that a
# check failing under a box says which.
boxesOnScreen() {
  local handle title
  [ -f "$probe" ] && [ -d "${WINEPREFIX:-/nonexistent}" ] || return 0
  wine "$probe" windows 2>/dev/null | awk -F'\t' '$3 == "#32770" { print $1 "\t" $8 }' |
    while IFS=$'\t' read -r handle title; do
      printf '; the box "%s" is on the screen: "%s"' "$title" "$(wine "$probe" text "$handle" 2>/dev/null)"
    done
}
fail() {
  echo "FAILED: $current: $*$(boxesOnScreen)" | tee "$work/failure" >&2
  import -window root "/tmp/astrolume-windows-$current.png" 2>/dev/null &&
    echo "the screen is in /tmp/astrolume-windows-$current.png" >&2
  [ ! -s "$work/program.log" ] || { echo "program output:" >&2; cat "$work/program.log" >&2; }
  exit 1
}
pass() { echo "ok: $current: $*"; }
# check NAME "NEEDED CHECKS" COMMAND [ARGUMENTS...]: COMMAND ends with pass, or fails.
check() {
  local name=$1 needs=$2 need status
  shift 2
  checks+=("$name")
  for need in $needs; do
    if [ "${outcome[$need]:-}" != passed ]; then
      outcome[$name]=skipped
      echo "skipped: $name, as $need ${outcome[$need]:-was not run}"
      return 0
    fi
  done
  current=$name
  rm -f "$work/failure"
  # check is called as a plain command, never in a condition, so that set -e holds inside: a command
  # that fails unexpectedly fails the check too.
  set +e
  (
    set -e
    "$@"
  )
  status=$?
  set -e
  if [ $status -eq 0 ]; then
    outcome[$name]=passed
  else
    outcome[$name]=failed
    [ -f "$work/failure" ] || echo "FAILED: $name: a command in it ended with status $status" >&2
  fi
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
# The title bar's buttons are glyphs of Wine's Marlett font (fonts-wine), which this Wine does not find
# in its own folder: without it in the prefix's Fonts folder they show as the letters "0 1 r".
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
wineserver -w # the desktop comes up as set here once everything started so far has ended


# --- Looking at the program.
# Pixel column / row of a model coordinate.
pixelX() { awk -v u="$1" -v s="$size" -v n="$viewUnits" 'BEGIN { printf "%d", int(s / 2 + u * s / n + 0.5) }'; }
pixelY() { awk -v u="$1" -v s="$size" -v n="$viewUnits" 'BEGIN { printf "%d", int(s / 2 - u * s / n + 0.5) }'; }
placeOf() { for b in "${bodies[@]}"; do [ "${b% *}" != "$1" ] || pixelX "${b#* }"; done; }
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

# startProgram FOLDER [waiting]: runs astrolume.exe there, as double-clicking it would; "waiting" runs
# it from a batch script that waits for it with start /wait and ends with its exit status. The exit
# status is written to program.status, which any later check can wait for.
startProgram() {
  local command=(wine astrolume.exe)
  rm -f "$work/program.status"
  if [ "${2:-}" = waiting ]; then
    printf '@echo off\r\nstart "" /wait astrolume.exe\r\nexit /b %%errorlevel%%\r\n' >"$work/waiting.bat"
    command=(wine cmd /c "$(winepath -w "$work/waiting.bat")")
  fi
  (cd "$1" && keepStatus "${command[@]}") >"$work/program.log" 2>&1 &
}
keepStatus() { # COMMAND...: runs it, then writes its exit status to program.status
  local status=0
  "$@" || status=$?
  echo "$status" >"$work/program.status.partial"
  mv "$work/program.status.partial" "$work/program.status"
}
waitForExit() { # SECONDS: sets $status
  for _ in $(seq $(($1 * 10))); do
    if [ -f "$work/program.status" ]; then
      status=$(cat "$work/program.status")
      return 0
    fi
    sleep 0.1
  done
  return 1
}
# After the checks of one start of the program: whatever a failed check left running is ended, so the
# next start is alone (started from its shortcut, the program outlives the command that started it).
endProgram() {
  [ -f "$work/program.log" ] || return 0
  wine taskkill /F /IM astrolume.exe >/dev/null 2>&1 || true # finds nothing when every check passed
  waitForExit 10 || echo "astrolume.exe could not be ended" >&2
  rm -f "$work/program.log" "$work/program.status"
}
entryIndex() { # LABEL: its entry's place in the menu, 0 for the first
  local i
  for i in "${!menuLabels[@]}"; do
    [ "${menuLabels[$i]}" != "$1" ] || echo "$i"
  done
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
}


echo "== Decoder tests under Wine"
decoderTests() {
  # Now and then Wine fails to start a program at all (no output, over within 10 ms; seen in one of
  # 109 runs): a test that fails is run once more, and a failing test fails twice.
  (cd "$root" && ctest --preset windows --parallel "$(nproc)" --repeat until-pass:2) || fail "ctest --preset windows"
  pass "the decoder tests pass under Wine"
}
check decoder-tests "" decoderTests

echo "== The program from the zip"
app="$work/zip/$name"
zipContents() {
  unzip -q "$zip" -d "$work/zip" || fail "the zip cannot be unpacked"
  [ -f "$app/astrolume.exe" ] || fail "the zip holds no $name/astrolume.exe"
  [ "$(find "$app/image" -name '*.bmp' | wc -l)" -eq 11 ] || fail "the zip does not hold the eleven images"
  pass "the zip holds astrolume.exe and the eleven images"
}
check zip "" zipContents

# Only Windows' own libraries: freeglut, libgcc, libstdc++ and winpthread are linked in.
ownDllsOnly() {
  local dlls dll
  dlls=$(x86_64-w64-mingw32-objdump -p "$app/astrolume.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
  for dll in $dlls; do
    case $dll in
    advapi32.dll | gdi32.dll | glu32.dll | kernel32.dll | msvcrt.dll | opengl32.dll | user32.dll | winmm.dll) ;;
    *) fail "astrolume.exe needs $dll" ;;
    esac
  done
  pass "astrolume.exe needs only Windows' own DLLs: $dlls"
}
check dlls zip ownDllsOnly

# A window program ("Windows GUI") starts without a console; a console program ("Windows CUI") opens one.
subsystemOf() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem\s*[0-9a-f]*\s*(\(.*\))$/\1/p'; }
subsystems() {
  local tool
  [ "$(subsystemOf "$app/astrolume.exe")" = "Windows GUI" ] ||
    fail "astrolume.exe is a '$(subsystemOf "$app/astrolume.exe")' program: Windows opens a console with it"
  for tool in "$out/tools/bmpdecode.exe" "$out/tests/bmp_decoder_tests.exe"; do
    [ "$(subsystemOf "$tool")" = "Windows CUI" ] || fail "$(basename "$tool") is no longer a console program"
  done
  pass "astrolume.exe opens no console; bmpdecode and the decoder tests stay console programs"
}
check subsystem zip subsystems

# An icon's pictures, one "WIDTHxHEIGHT pixel-checksum" line each, smallest first: the same pictures
# give the same lines however a file stores them.
iconPictures() { # ICO
  local pictures
  pictures=$(mktemp -d -p "$work")
  icotool --extract --output="$pictures" "$1" 2>/dev/null
  for png in "$pictures"/*.png; do
    echo "$(identify -format '%wx%h' "$png") $(convert "$png" rgba:- | md5sum | cut -c1-32)"
  done | sort -n
}
# The pictures of a Windows program's icon group NAME, or of its first one.
iconOf() { # FILE [NAME]
  local groups
  groups=$(mktemp -d -p "$work")
  wrestool --extract --type=14 ${2:+--name="$2"} --output="$groups" "$1" 2>/dev/null
  [ -n "$(ls "$groups")" ] || return 0
  iconPictures "$groups/$(ls "$groups" | head -n 1)"
}
ownIcon=$(iconPictures "$out/astrolume.ico")
iconAndVersion() {
  local versionInfo field
  [ "$(cut -d' ' -f1 <<<"$ownIcon" | tr '\n' ' ')" = "16x16 24x24 32x32 48x48 256x256 " ] ||
    fail "astrolume.ico holds $(cut -d' ' -f1 <<<"$ownIcon" | tr '\n' ' ')"
  # freeglut's window class takes the icon named GLUT_ICON; Explorer takes the first group, which must be it.
  [ "$(iconOf "$app/astrolume.exe" GLUT_ICON)" = "$ownIcon" ] || fail "astrolume.exe has no GLUT_ICON of astrolume.svg"
  [ "$(iconOf "$app/astrolume.exe")" = "$ownIcon" ] || fail "astrolume.exe's first icon is not its own"
  # Explorer's Details: read through Windows' own version functions.
  versionInfo=$(wine "$probe" version "$(winepath -w "$app/astrolume.exe")") || fail "astrolume.exe has no version information"
  versionField() { awk -F'\t' -v name="$1" '$1 == name { print $2 }' <<<"$versionInfo"; }
  for field in "ProductName Astrolume" "ProductVersion $version" "FileVersion $version" "OriginalFilename astrolume.exe"; do
    [ "$(versionField "${field%% *}")" = "${field#* }" ] || fail "version information: ${field%% *} is '$(versionField "${field%% *}")'"
  done
  [[ "$(versionField FileDescription)" == *"3-D model"* ]] || fail "version information: no description"
  [[ "$(versionField LegalCopyright)" =~ ^Copyright\ [0-9]{4}.*GNU\ General\ Public\ License ]] ||
    fail "version information: the copyright is '$(versionField LegalCopyright)'"
  pass "astrolume.exe carries astrolume.svg's icon (16 to 256 pixels) as GLUT_ICON and version $version"
}
check icon-and-version zip iconAndVersion

# README.txt: the README's sections for users in Notepad's plain text, the controls among them.
checkReadme() { # FOLDER
  local readme="$1/README.txt" key
  [ -f "$readme" ] || fail "no README.txt in $1"
  [ "$(grep -c $'\r$' "$readme")" -eq "$(wc -l <"$readme")" ] || fail "README.txt has lines without Windows line ends"
  ! grep -qE '\]\(|^\||`|^!\[|^#' "$readme" || fail "README.txt keeps Markdown: $(grep -E '\]\(|^\||`|^!\[|^#' "$readme" | head -n 1)"
  [ "$(awk '{ sub(/\r$/, "") } length > 78' "$readme" | wc -l)" -eq 0 ] || fail "README.txt has lines over 78 columns"
  while read -r key; do
    grep -qxF "$key"$'\r' "$readme" || fail "README.txt lacks the control '$key'"
  done < <(sed -n '/^## Controls/,/^## /s/^| \([^|]*[^ ]\) | .*/\1/p' "$root/README.md" | tr -d '`' | sed 1d)
  for heading in Windows Controls "Planet images" Licence; do
    grep -qxF "$heading"$'\r' "$readme" || fail "README.txt lacks the section $heading"
  done
}
readmeBeside() {
  checkReadme "$app"
  pass "README.txt beside astrolume.exe: plain text with Windows line ends, the controls and the licence"
}
check readme zip readmeBeside

zipFirstFrame() {
  startProgram "$app" waiting
  checkFirstFrame
  pass "first frame: the Sun lit at the centre, the eleven bodies along the middle row, textured"
}
check first-frame zip zipFirstFrame

# The title bar's icon is astrolume.svg's: its Sun's orange shows at the left end of the bar (Wine's
# default icon has none).
titleBarIcon() {
  local left top clientTop
  findWindow Astrolume || fail "no Astrolume window"
  read -r left top _ _ <<<"$w_outer"
  read -r _ clientTop _ _ <<<"$w_client"
  import -window root -crop "$((clientTop - top + 8))x$((clientTop - top))+$left+$top" -depth 8 "rgb:$work/title.rgb"
  od -An -tu1 -v -w3 "$work/title.rgb" | awk '$1 >= 220 && $2 >= 150 && $2 <= 215 && $3 <= 110 { found = 1 } END { exit !found }' ||
    fail "the title bar does not show Astrolume's icon"
  pass "the title bar shows Astrolume's icon"
}
check title-bar-icon first-frame titleBarIcon

# The model starts with the animation switched on and a released button would set it going; one
# space switches it off, so the close-ups below hold still.
spaceHoldsStill() {
  local before
  findWindow Astrolume || fail "no Astrolume window"
  clickTitleBar
  grabMain
  before=$(md5sum <"$work/main.rgb")
  xdotool key space
  sleep 0.3
  grabMain
  [ "$(md5sum <"$work/main.rgb")" = "$before" ] || fail "space moved the model"
  pass "space switches the animation off, the model as it was"
}
check space first-frame spaceHoldsStill

# The menu is freeglut's own window; its entries share its height inside a 2-pixel border. It opens at
# the pointer, on the left just below the axis, where it stays drawn until a box is answered.
# openMenu GESTURE: "drag" presses the right button and holds it, "click" clicks it; sets the main
# window's client corner (mainLeft mainTop), the menu's rectangle (m_left m_top m_right m_bottom) and
# the entry height.
openMenu() {
  findWindow Astrolume || fail "no Astrolume window"
  read -r mainLeft mainTop _ _ <<<"$w_client"
  xdotool mousemove $((mainLeft + 20)) $((mainTop + centre + 20))
  if [ "$1" = drag ]; then xdotool mousedown 3; else xdotool click 3; fi
  waitForWindow "freeglut menu" 5 || fail "the right button opened no menu"
  read -r m_left m_top m_right m_bottom <<<"$w_outer"
  entry=$(((m_bottom - m_top - 4) / ${#menuLabels[@]}))
}
entryY() { echo $((m_top + 2 + entry * $1 + entry / 2)); }
# The colour of entry N's row at the menu's right edge, beyond any label.
rowColour() { import -window root -crop "1x1+$((m_right - 5))+$(entryY "$1")" -depth 8 rgb:- | od -An -tu1; }
highlighted() { # N: entry N's row is drawn unlike its neighbours'
  local own last=$((${#menuLabels[@]} - 1))
  own=$(rowColour "$1")
  [ "$own" != "$(rowColour $(($1 == 0 ? 1 : $1 - 1)))" ] && [ "$own" != "$(rowColour $(($1 == last ? last - 1 : $1 + 1)))" ]
}
# chooseEntry GESTURE LABEL: opens the menu and chooses the entry so labelled by press-drag-release,
# the highlight following the pointer, or by a click and then a click on the entry.
chooseEntry() {
  local index
  index=$(entryIndex "$2")
  [ -n "$index" ] || fail "no menu entry $2 in tests/expected.txt"
  openMenu "$1"
  local x=$(((m_left + m_right) / 2))
  xdotool mousemove "$x" "$(entryY 0)"
  sleep 0.1
  xdotool mousemove "$x" "$(entryY "$index")"
  if [ "$1" = drag ]; then
    for _ in $(seq 20); do highlighted "$index" && break || sleep 0.1; done
    highlighted "$index" || fail "the highlight does not follow the pointer onto \"$2\" while the button is held"
    xdotool mouseup 3
  else
    sleep 0.1
    xdotool click 1
  fi
}
# answerBox TITLE: the one box so titled, without an owner, dismissed with Return.
answerBox() {
  waitForWindow "$1" 10 || fail "no box titled $1"
  [ "$w_owner" = 0 ] || fail "the box $1 has an owner window"
  [ "$(countWindows "$1")" -eq 1 ] || fail "more than one box $1"
  clickTitleBar
  xdotool key Return
  waitUntilGone "$1" 10 || fail "Return did not dismiss the box $1"
}
# The close-up disc has radius 6 units (the axis line runs down the middle: look beside it).
closeUp() { isLit $((centre + 20)) "$centre" && isBlack "$(placeOf Neptune)" "$centre"; }

saturnTitle=$(expected title.Saturn)
mercuryTitle=$(expected title.Mercury)
saturnByDrag() {
  local left top right bottom side text viewChanged=""
  chooseEntry drag Saturn
  waitForWindow "$saturnTitle" 10 || fail "pressing, dragging onto \"Saturn\" and releasing brought no box titled $saturnTitle"
  # Read while the box is up, judged once it is answered, so that a wrong text leaves no box behind
  # for the checks after this one.
  text=$(wine "$probe" text "$w_handle")
  grabMain
  isLit "$(placeOf Pluto)" "$centre" || viewChanged=1
  if [ -n "$picture" ]; then # the whole window, frame and title-bar buttons included, with the box
    read -r left top right bottom <<<"$(findWindow Astrolume && echo "$w_outer")"
    import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$picture"
    echo "picture of the program and its box: $picture"
  fi
  answerBox "$saturnTitle"
  [ "$text" = "$(expected text.Saturn)" ] || fail "Saturn's box says: $text"
  [ -z "${viewChanged:-}" ] || fail "the view changed while the box was up"
  # The ring lies between 7 and 9 units, with space between it and Saturn.
  waitForPicture closeUp 10 || fail "no Saturn close-up after the box"
  for side in -1 1; do
    isBlack "$(pixelX "$(awk -v s=$side 'BEGIN { print s * 6.6 }')")" "$centre" || fail "no gap between Saturn and its ring"
    isLit "$(pixelX "$(awk -v s=$side 'BEGIN { print s * 8.2 }')")" "$centre" || fail "no ring on side $side"
    isBlack "$(pixelX "$(awk -v s=$side 'BEGIN { print s * 9.8 }')")" "$centre" || fail "the ring is too wide"
  done
  pass "press-drag-release on \"Saturn\": the highlight follows, one box $saturnTitle with Saturn's data, then the ringed close-up"
}
check saturn first-frame saturnByDrag

# The first and the last entry too, so that a choice one row off cannot pass.
firstAndLastByDrag() {
  chooseEntry drag Mecury
  answerBox "$mercuryTitle"
  waitForPicture closeUp 10 || fail "no close-up after Mercury's box"
  chooseEntry drag Astrolume
  waitForPicture firstFrameDrawn 10 || fail "\"Astrolume\" did not bring back the whole system: $(firstFrameProblem)"
  [ "$(countWindows "freeglut menu")" -eq 0 ] || fail "the menu stayed open"
  pass "press-drag-release on \"Mecury\" brings $mercuryTitle's box and close-up, on \"Astrolume\" the whole system"
}
check first-and-last first-frame firstAndLastByDrag

# Click to open, click an entry; then a click on the model just below the open menu closes it and
# chooses nothing (read in the wrong place, it chose "Astrolume").
clicks() {
  chooseEntry click Mecury
  answerBox "$mercuryTitle"
  waitForPicture closeUp 10 || fail "no close-up after Mercury's box"
  openMenu click
  [ $((m_bottom + 10)) -lt $((mainTop + size)) ] || fail "no room below the menu"
  xdotool mousemove $(((m_left + m_right) / 2)) $((m_bottom + 10)) click 1
  waitUntilGone "freeglut menu" 5 || fail "a click beside the menu left it open"
  sleep 1
  grabMain
  closeUp || fail "a click beside the menu changed the view"
  [ "$(countWindows "$mercuryTitle")" -eq 0 ] || fail "a click beside the menu brought a box"
  pass "click, then click \"Mecury\": $mercuryTitle's box; a click just below the open menu chooses nothing"
}
check clicks first-frame clicks

escapeEnds() {
  findWindow Astrolume || fail "no Astrolume window"
  clickTitleBar
  xdotool key Escape
  waitForExit 10 || fail "still running 10 s after Escape"
  [ "$status" -eq 255 ] || fail "the script waiting with start /wait saw exit status $status after Escape"
  pass "Escape ends the program with exit status 255, as a script waiting with start /wait sees it"
}
check escape first-frame escapeEnds
endProgram

echo "== An image that cannot be decoded"
# Rows: the bytes of earth.bmp kept, what its Error box says (the path as Windows writes it).
badEarths=(
  "30|$(expected message.truncated)"
  '0|Failed to open DIB file image\earth.bmp.'
)
# A fresh copy of the unzipped program in $work/NAME, for a check to spoil.
copyOfApp() { # NAME
  rm -rf "$work/$1"
  cp -r "$app" "$work/$1"
}
# The Error box the program shows for WHAT, saying MESSAGE; left open.
awaitErrorBox() { # WHAT MESSAGE
  waitForWindow Error 30 || fail "no Error box for $1"
  [ "$(wine "$probe" text "$w_handle")" = "$2" ] || fail "the Error box says: $(wine "$probe" text "$w_handle")"
}
# Return on the box, and the model's window comes.
dismissErrorBox() {
  clickTitleBar
  xdotool key Return
  waitUntilGone Error 10 || fail "Return did not dismiss the Error box"
  waitForWindow Astrolume 10 || fail "no Astrolume window after the Error box"
}
errorBox() { # KEPT MESSAGE
  local kept=$1 message=$2
  copyOfApp corrupt
  head -c "$kept" "$app/image/earth.bmp" >"$work/corrupt/image/earth.bmp"
  startProgram "$work/corrupt"
  awaitErrorBox "an earth.bmp of $kept bytes" "$message"
  # An error box is owned by the program's window that has the keyboard focus.
  [ "$w_owner" != 0 ] && [ "$w_ownerProcess" = "$w_process" ] || fail "the Error box has no owner in the program"
  [ "$(countWindows Error)" -eq 1 ] || fail "more than one Error box"
  dismissErrorBox
  waitForPicture sunLit 15 || fail "nothing drawn after the Error box"
  sleep 1
  [ "$(countWindows Error)" -eq 0 ] || fail "a second Error box"
  grabMain
  # Untextured: lit white material, every channel alike.
  colour "$(placeOf Earth)" "$centre" 'r >= 24 && r - b <= 6 && b - r <= 6 && g - b <= 6 && b - g <= 6' || fail "the Earth is not untextured grey: $(pixel "$(placeOf Earth)" "$centre")"
  colour "$(placeOf Neptune)" "$centre" 'b > r + 60' || fail "Neptune lost its map"
  [ ! -f "$work/program.status" ] || fail "the program ended"
  pass "an earth.bmp of $kept bytes: one Error box owned by the program saying \"$message\", then the model with a grey Earth"
}
closeButtonEnds() {
  findWindow Astrolume || fail "no Astrolume window"
  closeButton
  waitForExit 10 || fail "still running 10 s after its window was closed"
  [ "$status" -eq 0 ] || fail "exit status $status after closing the window"
  pass "closing the window ends the program"
}
for row in "${badEarths[@]}"; do
  kept=${row%%|*}
  check "error-box-$kept" zip errorBox "$kept" "${row#*|}"
  check "close-after-error-$kept" "error-box-$kept" closeButtonEnds
  endProgram
done

echo "== The installer"
# What the prefix holds beside the user's temporary files, where the uninstaller leaves its own copy to
# be removed at the next start of Windows, as it does on Windows.
listPrefix() {
  find "$WINEPREFIX/drive_c" -path "$WINEPREFIX/drive_c/users/*/Temp" -prune -o -print | sort
  wine reg query 'HKLM\Software' /s 2>/dev/null | grep -i astrolume || true
  wine reg query 'HKCU\Software' /s 2>/dev/null | grep -i astrolume || true
}
installed="$WINEPREFIX/drive_c/Program Files/Astrolume"
shortcutOf() { find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/*' -name Astrolume.lnk; }
timeout 60 wineserver -w || echo "Wine still runs something from the checks above" >&2
listPrefix >"$work/before-install"
installSilently() {
  # Once more if Wine failed to start it (see the decoder tests); an installer that fails, fails twice.
  wine "$installer" /S || {
    echo "the installer ended with status $?; once more" >&2
    wine "$installer" /S
  } || fail "the installer failed with exit status $?"
  [ -f "$installed/astrolume.exe" ] && [ "$(find "$installed/image" -name '*.bmp' | wc -l)" -eq 11 ] ||
    fail "nothing installed in Program Files"
  [ -f "$installed/LICENCE.txt" ] && [ -f "$installed/licences/GPL-2.txt" ] || fail "no licence notes installed"
  [ -n "$(shortcutOf)" ] || fail "no Start-menu shortcut"
  pass "/S installs the program, its images, the licences and a Start-menu shortcut"
}
check install "" installSilently

# The installer and the uninstaller show the program's icon; the shortcut starts the program in its
# folder and shows the program's own icon.
exePath=$(winepath -w "$installed/astrolume.exe")
installedIconsAndReadme() {
  local target folder iconFile iconIndex
  [ "$(iconOf "$installer")" = "$ownIcon" ] || fail "the installer does not show Astrolume's icon"
  [ "$(iconOf "$installed/Uninstall.exe")" = "$ownIcon" ] || fail "the uninstaller does not show Astrolume's icon"
  IFS=$'\t' read -r target folder iconFile iconIndex <<<"$(wine "$probe" shortcut "$(winepath -w "$(shortcutOf)")")" ||
    fail "the shortcut cannot be read"
  [ "$target" = "$exePath" ] && [ "$folder" = "$(winepath -w "$installed")" ] ||
    fail "the shortcut starts '$target' in '$folder'"
  [ "$iconFile" = "$exePath" ] && [ "$iconIndex" = 0 ] || fail "the shortcut's icon is '$iconFile', $iconIndex"
  checkReadme "$installed"
  pass "the installer, the uninstaller and the shortcut show Astrolume's icon; README.txt is installed"
}
check installed-icons install installedIconsAndReadme

# Programs and Features: the entry's icon, version, publisher and size (in KiB, as installed).
uninstallKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Astrolume'
registryValue() { wine reg query "$uninstallKey" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
uninstallEntry() {
  local estimated actual
  [ "$(registryValue DisplayIcon)" = "$exePath" ] || fail "DisplayIcon is '$(registryValue DisplayIcon)'"
  [ "$(registryValue DisplayVersion)" = "$version" ] || fail "DisplayVersion is '$(registryValue DisplayVersion)'"
  [ -n "$(registryValue Publisher)" ] || fail "no Publisher"
  estimated=$(registryValue EstimatedSize)
  [[ "$estimated" =~ ^0x[0-9a-f]+$ ]] || fail "EstimatedSize is '$estimated'"
  actual=$(du -sk --apparent-size "$installed" | cut -f1)
  [ $((estimated)) -ge $((actual * 9 / 10)) ] && [ $((estimated)) -le $((actual * 11 / 10)) ] ||
    fail "EstimatedSize is $((estimated)) KiB; the folder holds $actual KiB"
  pass "the uninstall entry: DisplayIcon astrolume.exe, DisplayVersion $version, Publisher $(registryValue Publisher), EstimatedSize $((estimated)) KiB"
}
check uninstall-entry install uninstallEntry

# Started from its shortcut, from a folder without images: the shortcut's folder is where they are.
fromShortcut() {
  rm -f "$work/program.status"
  (cd "$work" && keepStatus wine start /wait /unix "$(shortcutOf)") >"$work/program.log" 2>&1 &
  checkFirstFrame
  findWindow Astrolume || fail "no Astrolume window"
  clickTitleBar
  xdotool key Escape
  # The command that started it has already ended: its window shows whether it still runs.
  waitUntilGone Astrolume 10 || fail "the installed program is still running 10 s after Escape"
  pass "the installed program, started from its shortcut, draws the textured first frame"
}
check shortcut install fromShortcut
endProgram

uninstallSilently() {
  wine "$installed/Uninstall.exe" /S || fail "the uninstaller failed"
  # The uninstaller runs on from a copy of itself: wait for it to finish.
  timeout 60 wineserver -w || fail "the uninstaller is still running a minute later"
  listPrefix >"$work/after-uninstall"
  diff "$work/before-install" "$work/after-uninstall" || fail "the uninstaller left the above behind"
  pass "/S uninstalls and leaves nothing behind"
}
check uninstall install uninstallSilently
# The same installer on Korean, English and German systems.
. "$root/tests/windows_installer_languages.sh"

echo "== Images that are there but cannot be opened"
# Rows: what stands where the images are, and the one Error box it gets (the path as Windows writes it).
unusableImages=(
  'folder|Failed to open image folder image.'
  'loop|Failed to open DIB file image\earth.bmp.'
)
unusableImage() { # WHAT MESSAGE
  local what=$1 message=$2
  copyOfApp unusable
  if [ "$what" = folder ]; then
    rm -r "$work/unusable/image" && echo "not a folder" >"$work/unusable/image"
  else
    ln -sfn earth.bmp "$work/unusable/image/earth.bmp"
  fi
  startProgram "$work/unusable"
  awaitErrorBox "an image $what" "$message"
  dismissErrorBox
  sleep 1
  [ "$(countWindows Error)" -eq 0 ] || fail "a second Error box for an image $what"
  findWindow Astrolume || fail "no Astrolume window"
  closeButton
  waitForExit 10 || fail "still running 10 s after its window was closed"
  pass "an image $what: one Error box saying \"$message\", then the model"
}
for row in "${unusableImages[@]}"; do
  check "unusable-image-${row%%|*}" zip unusableImage "${row%%|*}" "${row#*|}"
  endProgram
done

passed=() failed=() skipped=()
for name in "${checks[@]}"; do
  case ${outcome[$name]} in
  passed) passed+=("$name") ;;
  failed) failed+=("$name") ;;
  *) skipped+=("$name") ;;
  esac
done
echo "== Windows end-to-end: ${#passed[@]} checks passed, ${#failed[@]} failed${failed:+ (${failed[*]})}, ${#skipped[@]} skipped${skipped:+ (${skipped[*]})}"
[ ${#failed[@]} -eq 0 ]
