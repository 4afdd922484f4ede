#!/usr/bin/env bash
# Starts the built program under valgrind's memcheck on a private Xvfb with the real planet images,
# lets it animate for a moment, quits it with Escape, and fails on any memory error, or on a definite
# leak allocated directly by the program's own code (the allocator's caller is one of our sources).
# Usage: tests/valgrind_startup.sh BUILD_DIR
set -euo pipefail
build=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
work=$(mktemp -d)
trap 'kill ${xvfb:-} ${app:-} 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$build/image" "$work/image"
log="$work/memcheck.log"

export LIBGL_ALWAYS_SOFTWARE=1
. "$here/../scripts/display.sh"
startPrivateXvfb "$work"

(cd "$work" && exec valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
   --errors-for-leak-kinds=none --num-callers=40 --suppressions="$here/valgrind.supp" --log-file="$log" "$build/astrolume") &
app=$!
window=$(timeout 120 xdotool search --sync --name '^Astrolume$' | head -1)
xdotool windowfocus "$window" 2>/dev/null || true
sleep 3
xdotool key space space 2>/dev/null || true  # the second press starts the animation
sleep 5
xdotool key Escape 2>/dev/null || true
status=0
wait "$app" || status=$?
app=""
echo "astrolume ended with status $status under memcheck"

errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9]*\) errors.*/\1/p' "$log" | tail -1)
# Each definite-leak record: the line after the allocator's frame is its caller. The leak is the
# program's own when that caller is one of the program's source files.
own_sources=$(cd "$here/.." && { ls app/*.cpp scene/*.cpp render/*.cpp input/*.cpp image/*.cpp
              cmake -DASTROLUME_PLATFORM_LIST=all -P platform/sources.cmake; } |
              xargs -n1 basename | sed 's/\./\\./' | paste -sd'|')
own_leaks=$(awk '
  /definitely lost in loss record/ { inrecord = 1; next }
  inrecord && /(malloc|calloc|realloc|operator new)/ { getline; print; inrecord = 0; next }
' "$log" | grep -E "\((${own_sources}):[0-9]+\)" || true)

grep -E 'definitely lost:|ERROR SUMMARY' "$log" || true
if [ "$status" -ne 255 ]; then echo "expected exit status 255" >&2; exit 1; fi
if [ "${errors:-1}" -ne 0 ]; then echo "memcheck found errors:" >&2; cat "$log" >&2; exit 1; fi
if [ -n "$own_leaks" ]; then echo "definite leaks from the program's own code:" >&2; echo "$own_leaks" >&2; exit 1; fi
echo "memcheck: no errors, no definite leak from the program's own code"
