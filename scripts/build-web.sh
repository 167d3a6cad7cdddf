#!/usr/bin/env bash
# Builds the web page with Emscripten in build-web/ (or $WEB_BUILD_DIR) and
# writes its static folder, build-web/site/ (or $WEB_SITE_DIR): the page,
# its style, script and WebAssembly module and the icon. The folder works
# from any static host over HTTPS or from localhost.
set -euo pipefail
cd "$(dirname "$0")/.."
# Debian's emscripten; its optimiser needs Debian's acorn.
./scripts/apt-install.sh emscripten node-acorn nlohmann-json3-dev cmake make
export NODE_PATH=/usr/share/nodejs
BUILD=${WEB_BUILD_DIR:-build-web}
SITE=${WEB_SITE_DIR:-$BUILD/site}
emcmake cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DREADER_CONFIG_TESTS=OFF \
  -DREADER_CONFIG_GUI=OFF >/dev/null
cmake --build "$BUILD" --target reader-config -j2
mkdir -p "$SITE"
cp web/index.html web/reader-config.css resources/icons/reader-config.svg \
  "$BUILD/reader-config.js" "$BUILD/reader-config.wasm" "$SITE/"
echo "web page in $SITE"
