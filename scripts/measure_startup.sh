#!/usr/bin/env bash
# measure_startup.sh [BUILD_DIR] [RUNS]: start-up time of astrolume as a user sees it, from process
# start to the first frame on the display, with the eleven real images, against the floor: bench's
# bare_window, a GLUT program that opens the same window and shows one frame. Both are timed by the
# same outside probe, turn about, RUNS times each (default 10, at least 10) after one unrecorded run of
# each that warms the file cache; median, min and max of each and the ratio of the medians. Then the
# time loadBodyTextures takes in the real window, and its share of the start-up.
# Uses $DISPLAY when it answers, a private Xvfb otherwise; always Mesa's software renderer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-10}
[ "$runs" -ge 10 ] || { echo "at least 10 runs each: fewer say little on a shared machine" >&2; exit 1; }
export LIBGL_ALWAYS_SOFTWARE=1

for tool in astrolume bench/first_frame_probe bench/bare_window bench/texture_load_bench; do
  [ -x "$build/$tool" ] || { echo "missing $build/$tool: build it first" >&2; exit 1; }
done
images=$(find "$build/image" -maxdepth 1 -name '*.bmp' 2>/dev/null | wc -l)
[ "$images" -eq 11 ] || { echo "$build/image holds $images of the 11 body images (build target body_images)" >&2; exit 1; }

. "$root/scripts/display.sh"
displayWithScratch

# "median min max" of the numbers in a file, one a line.
summary() {
  sort -n "$1" | awk '{ t[NR] = $1 } END {
    printf "%.1f %.1f %.1f\n", NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2, t[1], t[NR] }'
}

# The program reads image/ from its working folder: the build folder has it. Turn about, so that
# whatever else loads the machine weighs on both alike.
cd "$build"
bench/first_frame_probe bench/bare_window >/dev/null
bench/first_frame_probe ./astrolume >/dev/null
: >"$work/bare"
: >"$work/astrolume"
for _ in $(seq "$runs"); do
  bench/first_frame_probe bench/bare_window >>"$work/bare"
  bench/first_frame_probe ./astrolume >>"$work/astrolume"
done
read -r bare bareMin bareMax < <(summary "$work/bare")
read -r median min max < <(summary "$work/astrolume")
echo "Start-up to first frame, $runs runs each, turn about (load average $(cut -d' ' -f1-3 /proc/loadavg)):"
echo "  bare GLUT window (the floor): median $bare ms, min $bareMin ms, max $bareMax ms"
echo "  astrolume, eleven real images: median $median ms, min $min ms, max $max ms"
awk -v a="$median" -v b="$bare" 'BEGIN { printf "  astrolume takes %.2f x the floor\n", a / b }'

# loadBodyTextures as start-up runs it: once, in a fresh process, so its buffers are fresh memory too.
# Decoding alone is timed the same way in processes of its own; uploading is the difference.
firstCall() {
  for _ in $(seq "$runs"); do
    ASTROLUME_IMAGE_ROOT="$build" bench/texture_load_bench --benchmark_filter="^$1/" \
      --benchmark_out="$work/first.csv" --benchmark_out_format=csv >/dev/null 2>"$work/bench.log" ||
      { cat "$work/bench.log" >&2; exit 1; }
    awk -F, '$1 ~ /^"BM_First/ { print $3 }' "$work/first.csv"
  done >"$work/$1"
  summary "$work/$1" | cut -d' ' -f1
}
load=$(firstCall BM_FirstLoadBodyTextures)
decode=$(firstCall BM_FirstDecodeBodyImages)
awk -v load="$load" -v decode="$decode" -v total="$median" 'BEGIN {
  printf "loadBodyTextures at start-up (median of %d): %.1f ms = decoding %.1f ms + uploading %.1f ms, %.0f %% of the start-up\n",
         '"$runs"', load, decode, load - decode, 100 * load / total }'
