#!/usr/bin/env bash
# Builds Astrolume for 64-bit ARM Linux (Raspberry Pi OS, ARM Chromebooks' Debian) on a Debian machine
# of another architecture: Debian's arm64 architecture added, the cross compilers and the arm64
# libraries installed through scripts/setup.sh, qemu's user-mode emulator registered with the kernel
# where it can be, then the `arm64` build (program, tests, tools, benchmarks) and the `arm64-package`
# Debian package. Prints the package's path on its last line. Non-interactive, safe to run twice.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The libraries of scripts/setup.sh that the program, its tests, tools and benchmarks link or load, for
# arm64 (Mesa's drivers too: the tests draw under the emulator), and the sanitizers' run-time libraries
# for the arm64-sanitize build. dpkg-dev names the package's architecture; debootstrap makes the arm64
# root of scripts/test_arm64.sh.
libraries=(freeglut3-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libgtk-3-dev libjpeg62-turbo-dev
  libx11-dev libxtst-dev libgtest-dev libbenchmark-dev libstb-dev libasan8 libubsan1)
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  echo "Adding Debian's arm64 architecture" >&2
  $sudo dpkg --add-architecture arm64
fi
"$root/scripts/setup.sh" crossbuild-essential-arm64 dpkg-dev qemu-user-static debootstrap \
  "${libraries[@]/%/:arm64}" >&2

# The kernel starts arm64 programs through qemu when binfmt_misc has Debian's entry for it (F: the
# emulator is opened now, so it also serves inside a chroot). The build and its tests need none (the
# toolchain file names the emulator), the arm64 root of scripts/test_arm64.sh does.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/qemu-aarch64" ]; then
  [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
  if [ -e "$binfmt/register" ]; then
    $sudo sh -c "cat /usr/lib/binfmt.d/qemu-aarch64.conf >$binfmt/register"
  fi
fi
if [ -e "$binfmt/qemu-aarch64" ]; then
  echo "The kernel runs arm64 programs through qemu ($binfmt/qemu-aarch64)" >&2
else
  echo "No binfmt_misc here (a container without it?): the build and its tests run under" \
    "qemu-aarch64-static all the same, but the arm64 root of scripts/test_arm64.sh cannot" >&2
fi

cmake --preset arm64 >&2
cmake --build --preset arm64 --parallel "$jobs" >&2
cmake --preset arm64-package >&2
cmake --build --preset arm64-package --parallel "$jobs" >&2
cpack --preset arm64-package >&2
ls "$root"/build-arm64-package/astrolume_*_arm64.deb
