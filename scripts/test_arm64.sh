#!/usr/bin/env bash
# Tests the arm64 build of scripts/build_arm64.sh on this machine of another architecture, under qemu's
# user-mode emulator:
#   the tests without a window (ctest preset arm64-unit);
#   the real program's first frame on a private Xvfb against the program built for this machine (Mesa's
#   software renderer on each: the same picture within a small tolerance), and its exit status 255 on
#   Escape;
#   the arm64 Debian package: tests/package_test.sh checks it (lintian and the other validators), then
#   installs it with apt into a minimal arm64 Debian 12 made fresh with debootstrap and starts it there
#   from its menu entry's command;
#   the sanitized tests without a window (preset arm64-sanitize-unit), leak checks off: LeakSanitizer
#   stops the program's threads through ptrace, which the emulator does not offer;
#   with --all, also every test that draws (ctest preset arm64, about 20 minutes under the emulator).
# --fast leaves out the sanitized build and its tests (CI's arm64 stage). Needs root (debootstrap,
# chroot, mounts) and the kernel's binfmt_misc entry for arm64, which scripts/build_arm64.sh registers.
# Usage: scripts/test_arm64.sh [--fast | --all] [MIRROR]   (default http://deb.debian.org/debian)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mode=default
case "${1:-}" in --fast | --all) mode=${1#--} && shift ;; esac
mirror=${1:-http://deb.debian.org/debian}
deb=$(ls build-arm64-package/astrolume_*_arm64.deb 2>/dev/null || true)
if [ ! -x build-arm64/astrolume ] || [ -z "$deb" ]; then
  echo "No arm64 build or package here: run scripts/build_arm64.sh first" >&2
  exit 1
fi
binfmt=/proc/sys/fs/binfmt_misc/qemu-aarch64
if [ ! -e "$binfmt" ]; then
  echo "The kernel has no binfmt_misc entry for arm64 ($binfmt): the arm64 root cannot run its" \
    "programs. scripts/build_arm64.sh registers qemu where binfmt_misc can be mounted." >&2
  exit 1
fi
work=$(mktemp -d /var/tmp/astrolume-arm64.XXXXXX)
trap 'rm -rf --one-file-system "$work"' EXIT
jobs=$(nproc)

echo "== arm64: the tests without a window, under qemu"
ctest --preset arm64-unit --parallel "$jobs"
echo "the tests without a window: $SECONDS s"

echo "== arm64: the first frame against this machine's build, and Escape"
# The program built for this machine, to compare with: the default build's, built here where missing.
if [ ! -x build/astrolume ] || [ ! -f build/image/earth.bmp ]; then
  cmake --preset default
  cmake --build --preset default --parallel "$jobs" --target astrolume body_images
fi
export LIBGL_ALWAYS_SOFTWARE=1
. scripts/display.sh
. tests/first_frame.sh
startPrivateXvfb "$work"
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf --one-file-system "$work"' EXIT
# firstFrame BUILD OUT.png [EMULATOR]: the program of BUILD started in BUILD (its image/ folder), its
# first textured frame taken, then Escape, which must end it with 255.
firstFrame() {
  (cd "$1" && exec ${3:-} ./astrolume) &
  local app=$!
  awaitTexturedFrame "$2" 300
  quitWithEscape "$app"
}
firstFrame build "$work/amd64.png"
firstFrame build-arm64 "$work/arm64.png" qemu-aarch64-static
kill "$xvfb"
# arm64's Mesa rounds a little otherwise inside the textured discs: at most 2% of the pixels may differ,
# none by more than 4 of 255 in any channel.
side=$(expected window.side)
differing=$(compare -metric AE "$work/amd64.png" "$work/arm64.png" null: 2>&1 | awk '{ print $1 }') || true
peak=$(compare -metric PAE "$work/amd64.png" "$work/arm64.png" null: 2>&1 |
  sed -n 's/.*(\(.*\)).*/\1/p' | awk '{ printf "%d", $1 * 255 + 0.5 }') || true
echo "first frame: $differing of $((side * side)) pixels differ from this machine's, by at most $peak of 255"
if ! [ "$differing" -le $((side * side / 50)) ] || ! [ "$peak" -le 4 ]; then
  mkdir -p build-arm64/first-frame && cp "$work"/*.png build-arm64/first-frame/
  echo "the arm64 first frame is not this machine's: both in build-arm64/first-frame/" >&2
  exit 1
fi
echo "the first frame: $SECONDS s"

echo "== arm64: the package checked, installed with apt into a fresh arm64 Debian 12, started there"
tree=$work/root
debootstrap --arch=arm64 --variant=minbase bookworm "$tree" "$mirror" >"$work/debootstrap.log" 2>&1 || {
  tail -n 30 "$work/debootstrap.log"
  exit 1
}
echo "debootstrap: $SECONDS s"
# The tree goes when the test ends: dpkg need not wait for each file to reach the disk.
echo force-unsafe-io >"$tree/etc/dpkg/dpkg.cfg.d/astrolume-test"
# A mount namespace of its own, so that the tree's mounts go when it ends, however it ends; the tree's
# /tmp/.X11-unix is this machine's, where the private Xvfb makes its socket.
unshare --mount --propagation private bash -euc '
  tree=$1
  shift
  mount -t proc proc "$tree/proc"
  mount --bind /dev "$tree/dev"
  mount --bind /dev/pts "$tree/dev/pts"
  mkdir -p -m 1777 /tmp/.X11-unix "$tree/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$tree/tmp/.X11-unix"
  exec "$@"' package "$tree" tests/package_test.sh --root "$tree" "$deb" "$work/package"
echo "the package: $SECONDS s"

if [ "$mode" != fast ]; then
  echo "== arm64: the sanitized tests without a window, under qemu, leak checks off"
  cmake --preset arm64-sanitize
  cmake --build --preset arm64-sanitize --parallel "$jobs"
  ctest --preset arm64-sanitize-unit --parallel "$jobs"
  echo "the sanitized tests: $SECONDS s"
fi
if [ "$mode" = all ]; then
  echo "== arm64: every test that draws, under qemu"
  tests/with_display.sh ctest --preset arm64 --label-regex display
  echo "the tests that draw: $SECONDS s"
fi
echo "arm64 tests passed in $SECONDS s"
