#!/usr/bin/env bash
# run_fuzz.sh SECONDS: builds bmp_fuzz with clang and the sanitizers, gathers a starting corpus from the
# conformance files and the test fixtures, and fuzzes for SECONDS. Exits non-zero on any crash, leak or
# timeout; the input that caused it is left in fuzz/crashes/.
set -euo pipefail

seconds=${1:?usage: run_fuzz.sh SECONDS}
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target bmp_fuzz --parallel "$(nproc)"
fuzzer=$repo/build-fuzz/fuzz/bmp_fuzz

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
