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
# A freshly started desktop's automatic updates can hold apt's locks for minutes: wait for them, saying
# so, rather than fail. apt waits a few seconds itself (DPkg::Lock::Timeout, which apt-get update honours
# for its lists lock too) and each try that still finds a lock is retried, for up to ten minutes.
apt_get() {
  local output said="" deadline=$((SECONDS + 600))
  while ! output=$($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=10 "$@" 2>&1 </dev/null); do
    if ! grep -qiE "could not get lock|unable to (acquire|lock)" <<<"$output" || ((SECONDS >= deadline)); then
      printf '%s\n' "$output" >&2
      return 1
    fi
    [ -n "$said" ] || echo "Waiting for another package manager to release its lock..." >&2
    said=1
    sleep 5
  done
  [ -z "$output" ] || printf '%s\n' "$output"
}
apt_get update -qq
apt_get install -y -qq --no-install-recommends --no-remove "${missing[@]}"
