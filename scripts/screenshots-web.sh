#!/usr/bin/env bash
# Takes the README's pictures of the web page in headless Chromium, both views
# in both languages, into docs/screenshots/ (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=$(realpath "${1:-docs/screenshots}")
./scripts/build-web.sh >/dev/null
./scripts/apt-install.sh chromium fonts-noto-cjk fonts-wqy-zenhei
command -v npm >/dev/null || ./scripts/apt-install.sh nodejs npm
cd tests/web
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null
node screenshots.js "$OUT"
