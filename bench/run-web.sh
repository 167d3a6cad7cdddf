#!/usr/bin/env bash
# Builds the web page (scripts/build-web.sh) and prints its benchmark rows:
# page weight and start in headless Chromium against a static page of the
# same controls and texts, in the same run. RUNS=N sets the rounds (15).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build-web.sh >/dev/null
./scripts/apt-install.sh chromium fonts-noto-cjk fonts-wqy-zenhei
command -v npm >/dev/null || ./scripts/apt-install.sh nodejs npm
(cd tests/web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null)
NODE_PATH=tests/web/node_modules exec node bench/web/page-bench.js
