#!/usr/bin/env bash
# Runs a command on the current X display, or on a private Xvfb when there is none.
# Mesa's software renderer keeps pictures identical from machine to machine.
set -euo pipefail
export LIBGL_ALWAYS_SOFTWARE=1
work=$(mktemp -d)
xvfb=""
cleanup() {
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$(readlink -f "$0")")/../scripts/display.sh"
ensureDisplay "$work"
status=0
"$@" || status=$?
exit "$status"
