#!/usr/bin/env bash
# Installs what is missing, builds Astrolume, prepares its planet images and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target astrolume make_body_images

# The program reads its images from image/ in its working directory.
if [ ! -f "$build/image/Pluto.bmp" ]; then
  "$build/tools/make_body_images" /usr/share/openuniverse/textures "$build/image"
fi
cd "$build"
exec ./astrolume "$@"
