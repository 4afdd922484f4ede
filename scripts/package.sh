#!/usr/bin/env bash
# Builds the Debian package of Astrolume into build-package/ and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh >&2
cmake --preset package >&2
cmake --build --preset package --parallel "$(nproc)" >&2
cpack --preset package >&2
ls "$root"/build-package/astrolume_*.deb
