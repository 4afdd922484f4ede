#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Astrolume needs.
# Non-interactive, uses sudo when not root, skips what is already installed; safe to run twice.
# Usage: scripts/setup.sh [PACKAGE...]   (packages a platform's build needs besides these)
set -euo pipefail

packages=(
  build-essential cmake pkg-config file git clang clang-format libclang-rt-dev llvm
  freeglut3-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
  libgtk-3-dev libjpeg62-turbo-dev libx11-dev libxtst-dev
  googletest libgtest-dev libbenchmark-dev libstb-dev
  xvfb xauth x11-utils xdotool imagemagick desktop-file-utils valgrind
  lintian appstream man-db
  fonts-nanum fonts-dejavu-core
  openuniverse-common
  clang-tidy cppcheck
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
