# Sourced by the measuring scripts. ensureDisplay WORK: keeps $DISPLAY when it answers, otherwise
# starts a private Xvfb (its display number written into WORK) and exports its DISPLAY. Sets $xvfb to
# the server's process id, or to nothing when no server was started; the caller kills it at exit.
ensureDisplay() {
  xvfb=""
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  Xvfb -displayfd 3 -screen 0 1024x1024x24 -nolisten tcp 3>"$1/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$1/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$1/display")"
}
