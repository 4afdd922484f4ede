#!/usr/bin/env bash
# Astrolume on Debian 13 as a newcomer meets it: a minimal Debian 13 made with debootstrap from
# Debian's archive, this clone's files copied into root's home folder (mode 0700, which the user nobody
# of the tests cannot enter) with ../shared beside them, and inside it, as root, the README's test
# command, then the browser build and its page test; then what this release's newer clang-format,
# clang-tidy, cppcheck and stb_image judge otherwise. Nothing is kept from one run to the next.
# Needs root (debootstrap, chroot, mounts); prints how long it took.
# Usage: scripts/test_debian13.sh [MIRROR]   (default http://deb.debian.org/debian)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mirror=${1:-http://deb.debian.org/debian}

"$root/scripts/setup.sh" debootstrap
work=$(mktemp -d /var/tmp/astrolume-debian13.XXXXXX)
trap 'rm -rf --one-file-system "$work"' EXIT
target=$work/root

echo "== debootstrap: a minimal Debian 13"
debootstrap --variant=minbase trixie "$target" "$mirror" >"$work/debootstrap.log" 2>&1 || {
  tail -n 30 "$work/debootstrap.log"
  exit 1
}

# The clone as git has it (tracked files and new ones not ignored, no build folders), and ../shared,
# where a user clones: in the home folder, root's here.
chmod 700 "$target/root"
mkdir -p "$target/root/astrolume"
git -C "$root" ls-files -z --cached --others --exclude-standard |
  (cd "$root" && tar --null -T - -cf -) | tar -xf - -C "$target/root/astrolume"
cp -a "$root/../shared" "$target/root/shared"
# The machine's certificate authorities, for the npm registry over HTTPS: where the network inspects
# its traffic, it signs with an authority that only this machine's bundle holds.
cp /etc/ssl/certs/ca-certificates.crt "$target/etc/host-ca-certificates.crt"
echo "debootstrap and the copy: $SECONDS s"

# Inside: a mount namespace of its own, so that the mounts go when it ends, however it ends, and a
# process namespace, so that no Xvfb or browser started inside outlives it.
inside='set -euo pipefail
cd /root/astrolume
echo "== Inside Debian 13: the README test command, in a clone under /root"
./scripts/test.sh
echo "the test command: $SECONDS s"
echo "== Inside Debian 13: the browser build and the page test"
./scripts/build_web.sh
./scripts/test_web.sh
echo "the browser build and page test: $SECONDS s in all"
echo "== Inside Debian 13: the formatting, static analysis and the comparison with this stb_image"
# The copy holds the files of the clone without its history, and the format check asks git for them.
git init -q && git add -A
./scripts/check_format.sh
./scripts/static_analysis.sh
./fuzz/run_differential.sh 30
echo "the checks of the newer tools: $SECONDS s in all"'
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
echo "Debian 13 stage: $SECONDS s"
