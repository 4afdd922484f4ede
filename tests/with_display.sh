#!/usr/bin/env bash
# Runs a command on the current X display, or on a private Xvfb when there is none, and exits with
# the command's status. Mesa's software renderer keeps pictures identical from machine to machine.
set -euo pipefail
export LIBGL_ALWAYS_SOFTWARE=1
. "$(dirname "$(readlink -f "$0")")/../scripts/display.sh"
displayWithScratch
"$@"
