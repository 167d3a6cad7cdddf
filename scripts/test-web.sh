#!/usr/bin/env bash
# The web page in headless Chromium: builds the static folder
# (scripts/build-web.sh), installs Debian's browser and the pinned driver
# (tests/web/package-lock.json; it downloads no browser), and runs the page's
# tests against virtual readers behind a fake navigator.hid.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build-web.sh
./scripts/apt-install.sh chromium fonts-noto-cjk fonts-wqy-zenhei
# Debian's npm, unless the machine's Node.js brings its own.
command -v npm >/dev/null || ./scripts/apt-install.sh nodejs npm
cd tests/web
# The driver's own browser download stays off: the tests use /usr/bin/chromium.
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund
node --test
