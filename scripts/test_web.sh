#!/usr/bin/env bash
# Tests the browser build: builds the page (scripts/build_web.sh) and the Linux program beside it, then
# drives the page in headless Chromium through chromedriver against the Linux program on a private
# Xvfb (tests/web/test_page.py). ASTROLUME_SCREENSHOT=FILE also saves the page with Saturn's box open.
# Non-interactive; run as root or with sudo rights, like the build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

page=$(bash "$root/scripts/build_web.sh" | tail -n 1)
# The browser and its driver, run by Debian's own Python (another python3 may come first on the PATH).
"$root/scripts/setup.sh" chromium chromium-driver python3-selenium python3-fonttools >&2
cmake --build "$root/build-web-host" --parallel "$jobs" --target astrolume >&2

. "$root/scripts/display.sh"
displayWithScratch

ASTROLUME_PAGE=$page ASTROLUME_PAGE_PARTS=$root/build-web ASTROLUME_IMAGES=$root/build-web-host/image \
  ASTROLUME_LINUX_PROGRAM=$root/build-web-host/astrolume /usr/bin/python3 "$root/tests/web/test_page.py"
