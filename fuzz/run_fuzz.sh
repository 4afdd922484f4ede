#!/usr/bin/env bash
# run_fuzz.sh SECONDS [TARGET]: builds a fuzz target (bmp_fuzz unless named) with clang and the
# sanitizers and fuzzes for SECONDS, starting from the committed corpus (fuzz/corpus/), the conformance
# files and the test fixtures, with the dictionary fuzz/bmp.dict. New inputs go to build-fuzz/, so the
# tree stays clean. Exits non-zero on any crash, leak or timeout (and, for bmp_differential, at the
# first pixel the two decoders disagree on); the input that caused it is left in fuzz/crashes/.
set -euo pipefail

seconds=${1:?usage: run_fuzz.sh SECONDS [bmp_fuzz|bmp_differential]}
target=${2:-bmp_fuzz}
case "$target" in
  # 16 KiB: about the size of the largest image bmp_fuzz decodes, 64 x 64 pixels of 32 bits.
  bmp_fuzz) max_len=16384 ;;
  # 40 KiB: room for the largest image bmp_differential compares, 128 x 64 pixels of 32 bits.
  bmp_differential) max_len=40960 ;;
  *) echo "run_fuzz.sh: no fuzz target named $target" >&2; exit 2 ;;
esac
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "$target" --parallel "$(nproc)"

new_units=$repo/build-fuzz/$target-corpus-new
crashes=$repo/fuzz/crashes
mkdir -p "$new_units" "$crashes"
seeds=()
for dir in "$repo/fuzz/corpus" "$repo/tests/fixtures" "$repo/../shared/bmpsuite"/{g,q,b}; do
  if [ -d "$dir" ]; then seeds+=("$dir"); fi
done

"$repo/build-fuzz/fuzz/$target" "$new_units" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=2048 -max_len="$max_len" -dict="$repo/fuzz/bmp.dict" -artifact_prefix="$crashes/$target-" \
  -print_final_stats=1
