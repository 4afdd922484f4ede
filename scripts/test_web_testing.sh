#!/usr/bin/env bash
# The browser page with Debian testing's Emscripten (forky's; 6.0.5 when this was written), the newest
# the version fence in web/web.cmake takes. CI tests the page on Debian 12 and 13; this is run by hand.
# A minimal Debian testing made with debootstrap from Debian's archive, this clone's files copied in
# with ../shared beside them, and inside it, as root: Emscripten's version, the browser build
# (scripts/build_web.sh) and the page's tests (scripts/test_web.sh: the decoder's tests under Node,
# the page in Chromium, WebKitGTK and Firefox ESR). Nothing is kept from one run to the next, unless
# ASTROLUME_KEEP_ROOT=1, which leaves the root (with Emscripten's sources in /usr/share/emscripten)
# and says where. Needs root (debootstrap, chroot, mounts); prints how long each stage took.
# Usage: scripts/test_web_testing.sh [MIRROR]   (default http://deb.debian.org/debian)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mirror=${1:-http://deb.debian.org/debian}
suite=forky

"$root/scripts/setup.sh" debootstrap
work=$(mktemp -d /var/tmp/astrolume-testing.XXXXXX)
if [ "${ASTROLUME_KEEP_ROOT:-0}" = 1 ]; then
  trap 'echo "The root is kept in $work/root (remove it with: rm -rf --one-file-system $work)"' EXIT
else
  trap 'rm -rf --one-file-system "$work"' EXIT
fi
target=$work/root

# Debian 12's debootstrap has no script of testing's name; testing is made as sid is.
script=/usr/share/debootstrap/scripts/$suite
[ -e "$script" ] || script=/usr/share/debootstrap/scripts/sid
echo "== debootstrap: a minimal Debian testing ($suite)"
debootstrap --variant=minbase "$suite" "$target" "$mirror" "$script" >"$work/debootstrap.log" 2>&1 || {
  tail -n 30 "$work/debootstrap.log"
  exit 1
}
# Testing's Release file is valid for a week: a mirror that is a copy of the archive taken earlier
# would have apt refuse it.
echo 'Acquire::Check-Valid-Until "false";' >"$target/etc/apt/apt.conf.d/99astrolume-valid-until"

# The clone as git has it (tracked files and new ones not ignored, no build folders), and ../shared.
mkdir -p "$target/src/astrolume"
git -C "$root" ls-files -z --cached --others --exclude-standard |
  (cd "$root" && tar --null -T - -cf -) | tar -xf - -C "$target/src/astrolume"
cp -a "$root/../shared" "$target/src/shared"
# The machine's certificate authorities, for the npm registry over HTTPS: where the network inspects
# its traffic, it signs with an authority that only this machine's bundle holds.
cp /etc/ssl/certs/ca-certificates.crt "$target/etc/host-ca-certificates.crt"
echo "debootstrap and the copy: $SECONDS s"

# Inside: a mount namespace of its own, so that the mounts go when it ends, however it ends, and a
# process namespace, so that no Xvfb or browser started inside outlives it.
inside='set -euo pipefail
cd /src/astrolume
echo "== Inside Debian testing: Emscripten"
./scripts/setup.sh emscripten >/dev/null
emcc --version | head -n 1
dpkg-query -W -f="Debian package: \${Package} \${Version}\n" emscripten
echo "Emscripten installed: $SECONDS s"
echo "== Inside Debian testing: the browser build"
./scripts/build_web.sh
echo "the browser build: $SECONDS s in all"
echo "== Inside Debian testing: the page tests"
./scripts/test_web.sh
echo "the page tests: $SECONDS s in all"'
unshare --mount --pid --fork --propagation private bash -euc '
  target=$1
  mount -t proc proc "$target/proc"
  mount -t sysfs sysfs "$target/sys"
  mount --bind /dev "$target/dev"
  mount --bind /dev/pts "$target/dev/pts"
  mount -t tmpfs -o mode=1777 shm "$target/dev/shm"
  exec chroot "$target" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 NODE_EXTRA_CA_CERTS=/etc/host-ca-certificates.crt CI=1 DEBIAN_FRONTEND=noninteractive /bin/bash -c "$2"' \
  inside "$target" "$inside"
echo "Debian testing stage: $SECONDS s"
