#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitized/ and runs
# the whole test suite there, then a minute of random input to the program. Any memory error or
# undefined behaviour stops the test that hit it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh
cmake --preset sanitize
cmake --build --preset sanitize --parallel "$(nproc)"
ctest --preset sanitize-unit
tests/with_display.sh ctest --preset sanitize-display
# The soak test starts its own X server.
ctest --preset soak
