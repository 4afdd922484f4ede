#!/usr/bin/env bash
# Installs the browsers the page is tested and measured in, with their drivers: Chromium and
# chromedriver, WebKitGTK's MiniBrowser and WebKitWebDriver, Firefox ESR, and Debian's selenium for
# Python (scripts/setup.sh, which also takes the other Debian PACKAGEs named); then puppeteer-core,
# which drives Firefox, into tests/web/node_modules with the machine's own npm, exactly as
# tests/web/package-lock.json pins it (again only when the lock file has changed).
# Non-interactive, safe to run twice. Usage: scripts/setup_browsers.sh [PACKAGE...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# npm from Debian only where the machine has none of its own: a newer one may come first on the PATH.
npm=()
command -v npm >/dev/null || npm=(npm)
# WebKitWebDriver's package: webkitgtk-webdriver where the archive has it (Debian testing, which has
# dropped the old name), else webkit2gtk-driver (Debian 12).
webdriver=webkit2gtk-driver
case $(apt-cache show --no-all-versions webkitgtk-webdriver 2>/dev/null) in
  Package:*) webdriver=webkitgtk-webdriver ;;
esac
"$root/scripts/setup.sh" chromium chromium-driver python3-selenium libwebkit2gtk-4.1-0 "$webdriver" \
  firefox-esr "${npm[@]}" "$@" >&2
cd "$root/tests/web"
if ! cmp -s package-lock.json node_modules/.installed-package-lock.json; then
  npm ci --no-audit --no-fund --loglevel=error >&2
  cp package-lock.json node_modules/.installed-package-lock.json
fi
