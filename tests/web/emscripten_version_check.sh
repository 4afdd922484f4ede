#!/usr/bin/env bash
# The browser build refuses an Emscripten it was not tested with, naming the versions it takes, and
# takes those at both ends. Configures only, each in a scratch folder, with the version faked.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
# version, whether the configure must pass
while read -r version accepted; do
  status=0
  (cd "$root" && cmake --preset web -B "$scratch/$version" -DEMSCRIPTEN_VERSION="$version" \
     -DASTROLUME_BODY_IMAGE_DIR="$scratch") >"$scratch/$version.log" 2>&1 || status=$?
  if [ "$accepted" = yes ] && [ "$status" -ne 0 ]; then
    echo "FAIL: Emscripten $version refused"; sed -n '/CMake Error/,+4p' "$scratch/$version.log"; failures=$((failures + 1))
  elif [ "$accepted" = no ] && ! tr -s ' \n' '  ' <"$scratch/$version.log" |
         grep -q "Emscripten $version is not one Astrolume's page was tested with (3.1.6 to 6.0.5)"; then
    echo "FAIL: Emscripten $version not refused with the tested range (status $status)"; failures=$((failures + 1))
  else
    echo "ok: Emscripten $version $([ "$accepted" = yes ] && echo taken || echo refused)"
  fi
done <<'CASES'
3.1.5 no
3.1.6 yes
3.1.69 yes
6.0.5 yes
6.0.6 no
7.0.0 no
CASES
[ "$failures" -eq 0 ]
