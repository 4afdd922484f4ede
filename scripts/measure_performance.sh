#!/usr/bin/env bash
# measure_performance.sh [BUILD_DIR]: every figure of the README's "Performance" section, in a few
# minutes: start-up against a bare GLUT window's and its texture share, the cost of a frame of the
# whole system and of two close-ups against the clear-and-swap floor, and decoding speed against
# stb_image and against copying the same bytes; the browser page's opening and frame (bench/web_page_bench.py)
# against the native frame. Each ratio is of figures from the same run. Builds
# what it needs first.
# Uses $DISPLAY when it answers, a private Xvfb otherwise; always Mesa's software renderer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build}"
export LIBGL_ALWAYS_SOFTWARE=1

[ -f "$build/CMakeCache.txt" ] || (cd "$root" && cmake --preset default -B "$build" >/dev/null)
cmake --build "$build" --parallel "$(nproc)" --target astrolume body_images first_frame_probe bare_window \
  texture_load_bench frame_bench bmp_bench >/dev/null
build=$(cd "$build" && pwd)

. "$root/scripts/display.sh"
displayWithScratch

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores;" \
  "$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL version string: //p');" \
  "$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL renderer string: //p'); Debian $(cat /etc/debian_version)"
echo

"$root/scripts/measure_startup.sh" "$build" 10
echo

# Medians of 5 repetitions; real (wall) time in the CSV's third column, CPU time in the fourth.
bench() {
  local program=$1 out=$2
  shift 2
  "$build/bench/$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$work/$out.csv" --benchmark_out_format=csv "$@" 2>/dev/null | grep -E '_median|^-|^Benchmark'
}
field() { awk -F, -v name="\"$2_median\"" -v column="$3" '$1 == name { print $column }' "$work/$1.csv"; }

(cd "$build" && ASTROLUME_IMAGE_ROOT="$build" bench frame_bench frames --benchmark_min_time=0.5)
floor=$(field frames BM_ClearAndSwap/process_time/real_time 3)
# "name<TAB>ms<TAB>process CPU ms" of a frame, for the lines below.
frame() { printf '%s\t%s\t%s\n' "$1" "$(field frames "BM_Frame/$2/process_time/real_time" 3)" \
  "$(field frames "BM_Frame/$2/process_time/real_time" 4)"; }
{
  frame "Whole-system frame" 10
  frame "Saturn close-up" 6
  frame "Earth and Moon close-up" 3
} | awk -F'\t' -v f="$floor" -v load="$(cut -d' ' -f1-3 /proc/loadavg)" '
  BEGIN { printf "Frames at 800 x 800, medians of 5 (load average %s); clear-and-swap floor %.2f ms:\n", load, f }
  { printf "  %s: %.2f ms (process CPU %.2f ms), %.1f x the floor\n", $1, $2, $3, $2 / f }'

# Each part's share: the frame against the same frame with that part taken away (see frame_bench.cpp).
# Process CPU time, every thread's, so the renderer's workers count and waiting for the CPU does not.
cpu() { field frames "$1/process_time/real_time" 4; }
echo "Where the time goes, process CPU ms: clear, swap, vertices (submission and transformation), lighting,"
echo "triangles (set-up, rasterisation and fragment shading) and, of that, texturing; parts under about"
echo "0.1 ms are within the noise:"
for view in "10 Whole-system frame" "6 Saturn close-up" "3 Earth and Moon close-up"; do
  set -- $view
  number=$1
  shift
  awk -v name="$*" -v clear="$(cpu BM_ClearOnly)" -v floor="$(cpu BM_ClearAndSwap)" \
    -v unlit="$(cpu "BM_FrameWithout/$number/1")" -v lit="$(cpu "BM_FrameWithout/$number/0")" \
    -v untextured="$(cpu "BM_FrameWithout/$number/2")" -v whole="$(cpu "BM_Frame/$number")" 'BEGIN {
    printf "  %s: clear %.2f, swap %.2f, vertices %.2f, lighting %.2f, triangles %.2f (texturing %.2f); all %.2f\n",
           name, clear, floor - clear, unlit - floor, lit - unlit, whole - lit, whole - untextured, whole }'
done
echo

bench bmp_bench decode --benchmark_min_time=0.5 --benchmark_filter='Decoder/24|StbImage/24|CopyMappedRgb24'
decoder=$(field decode BM_AstrolumeDecoder/24/real_time 3)
stb=$(field decode BM_StbImage/24/real_time 3)
copy=$(field decode BM_CopyMappedRgb24/real_time 3)
# 4096 x 4096 x 3 output bytes per decode, in MB of 10^6 bytes.
awk -v d="$decoder" -v s="$stb" -v c="$copy" 'BEGIN {
  mb = 4096 * 4096 * 3 / 1e6
  printf "24-bit 4096 x 4096 decode: %.1f ms = %.0f MB/s; stb_image %.0f MB/s (decoder %.1f x faster);", d, mb / d * 1000, mb / s * 1000, s / d
  printf " copying the same bytes %.1f ms (decoder takes %.2f x the copy)\n", c, d / c }'
echo

# The browser page in each engine, its frame against the native program's whole-system frame above.
page=$("$root/scripts/build_web.sh" 2>/dev/null | tail -n 1)
"$root/scripts/setup_browsers.sh" 2>/dev/null
/usr/bin/python3 "$root/bench/web_page_bench.py" "$page" "$(field frames BM_Frame/10/process_time/real_time 3)"
