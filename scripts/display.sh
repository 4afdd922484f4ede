# The one way the scripts start a private X server (the end-to-end tests start their own in
# tests/support/e2e_display.cpp). Sourced, not run.
#
# startPrivateXvfb WORK: starts Xvfb on the first free display (Xvfb picks it and writes the number to a
#   descriptor once it accepts connections, so there is no guessing and no race), exports DISPLAY, and
#   sets $xvfb to the server's process id. The screen is larger than the 800 x 800 window, with room for
#   the boxes beside it; a second argument, WIDTHxHEIGHT, sets another size. The caller kills $xvfb
#   when done.
# ensureDisplay WORK: keeps $DISPLAY when it answers, otherwise startPrivateXvfb WORK. Sets $xvfb to
#   nothing when no server was started.
# displayWithScratch: makes a scratch folder $work and ensures a display; at exit the server started
#   for it is stopped and the folder removed. For scripts that need no other clean-up.
startPrivateXvfb() {
  local numberFile="$1/xvfb-display"
  rm -f "$numberFile"
  Xvfb -displayfd 3 -screen 0 "${2:-1024x1024}x24" -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 200); do
    [ -s "$numberFile" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$numberFile" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$numberFile")"
}

ensureDisplay() {
  xvfb=""
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  startPrivateXvfb "$1"
}

displayWithScratch() {
  work=$(mktemp -d)
  xvfb=""
  trap '[ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
  ensureDisplay "$work"
}
