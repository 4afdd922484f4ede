#!/usr/bin/env bash
# Tests the browser build. First the decoder's tests compiled to WebAssembly and run under Node (the
# `web-tests` preset, with GoogleTest built by Emscripten once into build-web-tests/deps), and the page's
# own scripts in Debian's jsdom under Node, with a fake program and clock (tests/web/node). Then the
# page (scripts/build_web.sh) and the Linux program beside it: the page in headless Chromium, driven
# through chromedriver, against the Linux program on a private Xvfb (tests/web/test_page.py); then in
# WebKitGTK's MiniBrowser (WebKitWebDriver) and Firefox ESR (over WebDriver BiDi, through puppeteer-core,
# installed by scripts/setup_browsers.sh), their windows on the same Xvfb (tests/web/test_engines.py).
# ASTROLUME_SCREENSHOT=FILE also saves the page with Saturn's box open.
# Non-interactive; run as root or with sudo rights, like the build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

page=$(bash "$root/scripts/build_web.sh" | tail -n 1)
export NODE_PATH=/usr/share/nodejs

# GoogleTest from Debian's source package, and stb's reader for the conformance test, for Emscripten.
deps=$root/build-web-tests/deps
if [ ! -f "$deps/.googletest-installed" ]; then
  cmake -S /usr/src/googletest -B "$root/build-web-tests/googletest" \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=ON >&2
  cmake --build "$root/build-web-tests/googletest" --parallel "$jobs" >&2
  cmake --install "$root/build-web-tests/googletest" >&2
  touch "$deps/.googletest-installed"
fi
install -D -m 644 /usr/include/stb/stb_image.h "$deps/include/stb/stb_image.h"
cmake --preset web-tests >&2
cmake --build --preset web-tests --parallel "$jobs" --target bmp_decoder_tests bmp_conformance_tests >&2
echo "== The build's check of the Emscripten version"
bash "$root/tests/web/emscripten_version_check.sh"
echo "== The decoder's tests under Node"
# Each program once with all its cases (ctest --preset web-tests starts Node and compiles the
# WebAssembly again for every case, a hundred times over).
for program in bmp_decoder_tests bmp_conformance_tests; do
  node "$root/build-web-tests/tests/$program.js"
done
echo "== The page's scripts under Node"
"$root/scripts/setup.sh" node-jsdom >&2
node --test "$root"/tests/web/node/*.test.mjs
# The browsers and their drivers, run by Debian's own Python (another python3 may come first on the
# PATH), and the npm packages the tests use, as their lock file pins them.
"$root/scripts/setup_browsers.sh" python3-fonttools python3-numpy
cmake --build "$root/build-web-host" --parallel "$jobs" --target astrolume >&2

. "$root/scripts/display.sh"
displayWithScratch

export ASTROLUME_PAGE=$page ASTROLUME_PAGE_PARTS=$root/build-web ASTROLUME_IMAGES=$root/build-web-host/image \
  ASTROLUME_LINUX_PROGRAM=$root/build-web-host/astrolume
echo "== The page in Chromium"
/usr/bin/python3 "$root/tests/web/test_page.py"
echo "== The page by touch, by keyboard, without WebGL, and axe-core's checks, in Chromium"
/usr/bin/python3 "$root/tests/web/test_page_input.py"
echo "== The page in WebKitGTK and Firefox ESR (and the menu's gestures in Chromium)"
/usr/bin/python3 "$root/tests/web/test_engines.py"
