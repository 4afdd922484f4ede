#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitized/ and runs
# the whole test suite there. Any memory error or undefined behaviour stops the test that hit it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-sanitized"
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DASTROLUME_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build "$build" --parallel "$(nproc)"

export UBSAN_OPTIONS=print_stacktrace=1
# Tests without a window: leaks are errors too.
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$build" --output-on-failure -L unit
# Tests that draw: Mesa unloads its driver before the leak check runs, so what the driver keeps for
# the window can't be told apart from a real leak; the program's own leaks are checked by valgrind.
ASAN_OPTIONS=detect_leaks=0 "$root/tests/with_display.sh" ctest --test-dir "$build" --output-on-failure -L display
# A minute of random input to the sanitized Debug program, which also reports any OpenGL error.
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir "$build" --output-on-failure -L soak
