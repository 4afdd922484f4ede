#!/usr/bin/env bash
# Runs only the soak test: the real program under random input for SECONDS (default 60).
#   scripts/soak.sh [BUILD_DIR] [SECONDS]
# BUILD_DIR defaults to build/. Use a Debug build (build-sanitized/ from test_sanitized.sh is one):
# only Debug builds of the program report OpenGL errors. ASTROLUME_SOAK_RANDOM_START, when set,
# repeats the input sequence of an earlier run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-${ASTROLUME_SOAK_SECONDS:-60}}
case "$seconds" in
  '' | *[!0-9]*) echo "soak.sh: SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac

# ctest stops the test at ASTROLUME_SOAK_TIMEOUT; a longer soak needs a longer limit, which only
# configuring sets.
needed=$((seconds + 90))
current=$(sed -n 's/^ASTROLUME_SOAK_TIMEOUT:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ -z "$current" ] || [ "$current" -lt "$needed" ]; then
  echo "soak.sh: raising ASTROLUME_SOAK_TIMEOUT to $needed s in $build"
  cmake "$build" -DASTROLUME_SOAK_TIMEOUT="$needed" >/dev/null
fi
cmake --build "$build" --parallel 2 --target e2e_soak_tests
# The program's leak check cannot tell Mesa's driver memory from a leak (see test_sanitized.sh);
# it is killed at the end anyway, so only errors while it runs count.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
ASTROLUME_SOAK_SECONDS=$seconds ctest --test-dir "$build" --output-on-failure --verbose -L soak
