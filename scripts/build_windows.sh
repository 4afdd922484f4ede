#!/usr/bin/env bash
# Builds the 64-bit Windows program on this Debian machine with mingw-w64: freeglut and GoogleTest from
# Debian's own sources (built once, kept in build-windows/deps), the program and its tests through the
# `windows` preset, the planet images converted by the Linux-built tool, then a zip and an NSIS installer.
# Prints the zip's and the installer's paths on its last two lines. Non-interactive, safe to run twice.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build-windows"
deps="$out/deps"    # freeglut and GoogleTest, installed for mingw
sources="$out/src"  # their sources and build folders
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
jobs=$(nproc)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
aptGet() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get "$@" </dev/null; }

# The Linux build's packages (the image converter is built for Linux) and the cross tools.
"$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev googletest nsis zip dpkg-dev \
  librsvg2-bin icoutils >&2

# freeglut's Debian source needs a deb-src entry for each archive the binary packages come from.
addSourceEntries() {
  local list=/etc/apt/sources.list.d/astrolume-deb-src.sources
  apt-get source --print-uris freeglut >/dev/null 2>&1 && return
  echo "Adding deb-src entries to $list" >&2
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg entries
  entries=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' | sort -u)
  while read -r uri release component; do
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n' "$uri" "$release" "$component"
    [ -f "$keyring" ] && printf 'Signed-By: %s\n' "$keyring"
    echo
  done <<<"$entries" | $sudo tee "$list" >/dev/null
  aptGet update -qq >&2
}

# cmakeDependency NAME SOURCE_DIR [CMAKE ARGS...]: builds and installs one library into $deps, once.
cmakeDependency() {
  local name=$1 source=$2
  shift 2
  [ -f "$deps/.$name-installed" ] && return
  cmake -S "$source" -B "$sources/$name-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" "$@" >&2
  cmake --build "$sources/$name-build" --parallel "$jobs" >&2
  cmake --install "$sources/$name-build" >&2
  touch "$deps/.$name-installed"
}

mkdir -p "$sources" "$deps"
# freeglut's menus read a press-drag-release in the wrong place when the menu's parent window gets the
# release (Windows beside the menu, Wine always): the patch says why and mends it. freeglut is built
# again whenever the patch changes.
menuPatch="$root/scripts/freeglut-menu-pointer.patch"
[ "$(cat "$deps/.freeglut-installed" 2>/dev/null)" = "$(sha256sum <"$menuPatch")" ] || rm -f "$deps/.freeglut-installed"
if [ ! -f "$deps/.freeglut-installed" ]; then
  addSourceEntries
  rm -rf "$sources"/freeglut-*
  (cd "$sources" && apt-get source -qq freeglut >&2)
  patch -d "$(find "$sources" -maxdepth 1 -type d -name 'freeglut-[0-9]*' | head -n 1)" -p1 <"$menuPatch" >&2
fi
# Static, so astrolume.exe carries it; REPLACE_GLUT installs GL/glut.h as the program includes it.
cmakeDependency freeglut "$(find "$sources" -maxdepth 1 -type d -name 'freeglut-[0-9]*' | head -n 1)" \
  -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_DEMOS=OFF \
  -DFREEGLUT_REPLACE_GLUT=ON
sha256sum <"$menuPatch" >"$deps/.freeglut-installed"
# Debian's googletest package is its source. gmock is not used; GoogleTest uses Windows threads.
cmakeDependency googletest /usr/src/googletest -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=ON
# stb's image reader, which the conformance test reads its reference pictures with: Debian's header.
install -D -m 644 /usr/include/stb/stb_image.h "$deps/include/stb/stb_image.h"

# The planet images, converted by make_body_images built for this machine.
cmake --preset package -B "$root/build-win-host" >&2
cmake --build "$root/build-win-host" --parallel "$jobs" --target body_images >&2

cmake --preset windows >&2
cmake --build --preset windows --parallel "$jobs" >&2
cpack --preset windows >&2
name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$out/CPackConfig.cmake")
echo "$out/$name.zip"
echo "$out/$name.exe"
