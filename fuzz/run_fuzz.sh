#!/usr/bin/env bash
# run_fuzz.sh SECONDS: builds bmp_fuzz with clang and the sanitizers, gathers a starting corpus from the
# conformance files and the test fixtures, and fuzzes for SECONDS. Exits non-zero on any crash, leak or
# timeout; the input that caused it is left in fuzz/crashes/.
# SOURCE_DIR and BUILD_DIR may be set to fuzz from another CMake project that includes fuzz/.
set -euo pipefail

seconds=${1:?usage: run_fuzz.sh SECONDS}
repo=$(cd "$(dirname "$0")/.." && pwd)
source_dir=${SOURCE_DIR:-$repo}
build_dir=${BUILD_DIR:-$repo/build-fuzz}

CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -DASTROLUME_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target bmp_fuzz -j"$(nproc)"
fuzzer=$(find "$build_dir" -name bmp_fuzz -type f -perm -u+x | head -n 1)

corpus=$repo/fuzz/corpus
crashes=$repo/fuzz/crashes
mkdir -p "$corpus" "$crashes"
if [ -d "$repo/../shared/bmpsuite" ]; then
  find "$repo/../shared/bmpsuite" -name '*.bmp' -exec cp {} "$corpus/" \;
fi
if [ -d "$repo/tests/fixtures" ]; then
  find "$repo/tests/fixtures" -name '*.bmp' -exec cp {} "$corpus/" \;
fi

"$fuzzer" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -artifact_prefix="$crashes/" -print_final_stats=1
