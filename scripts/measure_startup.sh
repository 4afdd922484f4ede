#!/usr/bin/env bash
# measure_startup.sh [BUILD_DIR] [RUNS]: start-up time of astrolume as a user sees it, from process
# start to the first frame on the display, with the eleven real images; median, min and max of RUNS
# runs (default 10) after one unrecorded run that warms the file cache. Then the time loadBodyTextures
# takes in the real window, and its share of the start-up.
# Uses $DISPLAY when it answers, a private Xvfb otherwise; always Mesa's software renderer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-10}
export LIBGL_ALWAYS_SOFTWARE=1

for tool in astrolume bench/first_frame_probe bench/texture_load_bench; do
  [ -x "$build/$tool" ] || { echo "missing $build/$tool: build it first" >&2; exit 1; }
done
images=$(find "$build/image" -maxdepth 1 -name '*.bmp' 2>/dev/null | wc -l)
[ "$images" -eq 11 ] || { echo "$build/image holds $images of the 11 body images (build target body_images)" >&2; exit 1; }

work=$(mktemp -d)
xvfb=""
cleanup() {
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
. "$root/scripts/display.sh"
ensureDisplay "$work"

# The program reads image/ from its working folder: the build folder has it.
cd "$build"
bench/first_frame_probe ./astrolume >/dev/null
for _ in $(seq "$runs"); do bench/first_frame_probe ./astrolume; done | sort -n >"$work/startup"
read -r median min max < <(awk '{ t[NR] = $1 } END {
  m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
  printf "%.0f %.0f %.0f\n", m, t[1], t[NR] }' "$work/startup")
echo "Start-up to first frame over $runs runs: median $median ms, min $min ms, max $max ms"

# loadBodyTextures as start-up runs it: once, in a fresh process, so its buffers are fresh memory too.
# Decoding alone is timed the same way in processes of its own; uploading is the difference.
firstCall() {
  for _ in $(seq "$runs"); do
    ASTROLUME_IMAGE_ROOT="$build" bench/texture_load_bench --benchmark_filter="^$1/" \
      --benchmark_out="$work/first.csv" --benchmark_out_format=csv >/dev/null 2>"$work/bench.log" ||
      { cat "$work/bench.log" >&2; exit 1; }
    awk -F, '$1 ~ /^"BM_First/ { print $3 }' "$work/first.csv"
  done | sort -n | awk '{ t[NR] = $1 } END { printf "%.1f\n", NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }'
}
load=$(firstCall BM_FirstLoadBodyTextures)
decode=$(firstCall BM_FirstDecodeBodyImages)
awk -v load="$load" -v decode="$decode" -v total="$median" 'BEGIN {
  printf "loadBodyTextures at start-up (median of %d): %.0f ms = decoding %.0f ms + uploading %.0f ms, %.0f %% of the start-up\n",
         '"$runs"', load, decode, load - decode, 100 * load / total }'
