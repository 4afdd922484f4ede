#!/usr/bin/env bash
# run_fuzz.sh SECONDS: builds bmp_fuzz with clang and the sanitizers and fuzzes for SECONDS, starting
# from the committed corpus (fuzz/corpus/), the conformance files and the test fixtures, with the
# dictionary fuzz/bmp.dict. New inputs go to build-fuzz/corpus-new/, so the tree stays clean. Exits
# non-zero on any crash, leak or timeout; the input that caused it is left in fuzz/crashes/.
set -euo pipefail

seconds=${1:?usage: run_fuzz.sh SECONDS}
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target bmp_fuzz --parallel "$(nproc)"
fuzzer=$repo/build-fuzz/fuzz/bmp_fuzz

new_units=$repo/build-fuzz/corpus-new
crashes=$repo/fuzz/crashes
mkdir -p "$new_units" "$crashes"
seeds=()
for dir in "$repo/fuzz/corpus" "$repo/tests/fixtures" "$repo/../shared/bmpsuite"/{g,q,b}; do
  if [ -d "$dir" ]; then seeds+=("$dir"); fi
done

# 16 KiB: about the size of the largest image the target decodes, 64 x 64 pixels of 32 bits.
"$fuzzer" "$new_units" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=16384 -dict="$repo/fuzz/bmp.dict" -artifact_prefix="$crashes/" -print_final_stats=1
