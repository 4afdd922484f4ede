#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test but the soak.
# Tests that open windows use $DISPLAY, or a private Xvfb when there is no display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh
cmake --preset default
cmake --build --preset default --parallel "$(nproc)"
tests/with_display.sh ctest --preset default
