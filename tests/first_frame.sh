# The program's first frame and its Escape, as the shell tests see them on the display: sourced, not run.
# Reads tests/expected.txt beside this file.
#
# awaitTexturedFrame OUT.png [SECONDS]: waits for the window titled Astrolume, then takes its inside
#   (window.side square at the screen's top left) once the Earth's centre is coloured, not the grey of
#   an untextured body, each second for up to SECONDS (default 30; more under an emulator). Sets
#   $window to the window's id; fails, saying what it saw, when no such frame comes.
# quitWithEscape PID: presses Escape in $window and waits for PID; fails unless it exits with 255.
firstFrameDir=$(dirname "${BASH_SOURCE[0]}")
expected() { sed -n "s/^$1 = //p" "$firstFrameDir/expected.txt"; }

awaitTexturedFrame() {
  local out=$1 seconds=${2:-30} side earthX earth r g b
  window=$(timeout "$seconds" xdotool search --sync --name '^Astrolume$' | head -1)
  [ -n "$window" ] || { echo "no Astrolume window in $seconds s" >&2; return 1; }
  # Where the Earth's centre is at rest, as tests/expected.txt has it.
  side=$(expected window.side)
  earthX=$(awk -v u="$(expected place.Earth)" -v s="$side" -v n="$(expected window.units)" \
    'BEGIN { printf "%d", int(s / 2 + u * s / n + 0.5) }')
  for _ in $(seq "$seconds"); do
    import -window root -crop "${side}x${side}+0+0" "$out"
    earth=$(convert "$out" -crop "1x1+$earthX+$((side / 2))" \
      -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
    read -r r g b <<<"$earth"
    if [ "$r" != "$g" ] || [ "$g" != "$b" ]; then
      echo "Earth's centre: $r $g $b"
      return 0
    fi
    sleep 1
  done
  echo "the Earth is untextured (its centre $r $g $b) after $seconds s" >&2
  return 1
}

quitWithEscape() {
  local status=0
  xdotool windowfocus "$window" 2>/dev/null
  xdotool key Escape 2>/dev/null
  wait "$1" || status=$?
  echo "exit status $status"
  [ "$status" -eq 255 ]
}
