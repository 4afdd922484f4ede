#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Tests that open windows use $DISPLAY, or a private Xvfb when there is no display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"
"$root/tests/with_display.sh" ctest --test-dir "$build" --output-on-failure -LE soak
