#!/usr/bin/env bash
# Builds the Debian package of Astrolume into build-package/ and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-package"

"$root/scripts/setup.sh" >&2
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DASTROLUME_TESTS=OFF -DASTROLUME_BENCH=OFF >&2
cmake --build "$build" --parallel "$(nproc)" >&2
(cd "$build" && cpack -G DEB >&2)
ls "$build"/astrolume_*.deb
