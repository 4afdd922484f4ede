#!/usr/bin/env bash
# Installs what is missing, builds Astrolume, prepares its planet images and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# body_images converts the planet maps into build/image/, where the program looks for them.
cmake --build "$build" --parallel "$(nproc)" --target astrolume body_images
cd "$build"
exec ./astrolume "$@"
