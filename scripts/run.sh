#!/usr/bin/env bash
# Installs what is missing, builds Astrolume, prepares its planet images and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh
cmake --preset default >/dev/null
# body_images converts the planet maps into build/image/, where the program looks for them.
cmake --build --preset default --parallel "$(nproc)" --target astrolume body_images
cd build
exec ./astrolume "$@"
