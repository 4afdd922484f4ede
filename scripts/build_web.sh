#!/usr/bin/env bash
# Builds Astrolume for the browser: one HTML page, build-web/astrolume-<version>.html, holding the program
# compiled to WebAssembly by Debian's Emscripten, the body maps of IMAGE_DIR, a subset of NanumGothic
# and the licences. IMAGE_DIR defaults to the maps converted by the Linux make_body_images, built into
# build-web-host/. Prints the page's path on its last line. Non-interactive, safe to run twice.
# Usage: scripts/build_web.sh [IMAGE_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

# The Linux build's packages (the map converter is built for Linux) and the browser build's.
"$root/scripts/setup.sh" emscripten fonttools fonts-nanum python3 >&2
# Emscripten's compiler finds its acorn module among Debian's node modules, whichever node runs it.
export NODE_PATH=/usr/share/nodejs

if [ $# -ge 1 ]; then
  images=$(cd "$1" && pwd)
else
  cmake --preset package -B "$root/build-web-host" >&2
  cmake --build "$root/build-web-host" --parallel "$jobs" --target body_images >&2
  images=$root/build-web-host/image
fi

cmake --preset web -DASTROLUME_BODY_IMAGE_DIR="$images" >&2
cmake --build --preset web --parallel "$jobs" >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build-web/CMakeCache.txt")
echo "$root/build-web/astrolume-$version.html"
