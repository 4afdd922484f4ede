#!/usr/bin/env bash
# run_differential.sh SECONDS: builds bmp_differential with clang and the sanitizers and fuzzes it for
# SECONDS from the committed corpus, the conformance files and the test fixtures. Each input is decoded
# by the program and by stb_image; the run stops, non-zero, at the first pixel they disagree on (or any
# crash, leak or timeout), leaving the input in fuzz/crashes/. At the end it prints how many inputs both
# decoders accepted, and why the others were accepted by one decoder only.
set -euo pipefail

seconds=${1:?usage: run_differential.sh SECONDS}
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target bmp_differential --parallel "$(nproc)"
fuzzer=$repo/build-fuzz/fuzz/bmp_differential

new_units=$repo/build-fuzz/differential-corpus-new
crashes=$repo/fuzz/crashes
mkdir -p "$new_units" "$crashes"
seeds=()
for dir in "$repo/fuzz/corpus" "$repo/tests/fixtures" "$repo/../shared/bmpsuite"/{g,q,b}; do
  if [ -d "$dir" ]; then seeds+=("$dir"); fi
done

# 40 KiB: room for the largest image the target compares, 128 x 64 pixels of 32 bits.
"$fuzzer" "$new_units" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=40960 -dict="$repo/fuzz/bmp.dict" -artifact_prefix="$crashes/differential-" -print_final_stats=1
