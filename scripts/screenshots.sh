#!/usr/bin/env bash
# Takes the README's pictures: the tool with the virtual keypad reader under
# a virtual X server, both views in both languages, into docs/screenshots/
# (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-docs/screenshots}
BUILD_DIR=${BUILD_DIR:-build}
./scripts/install-deps.sh
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD_DIR" -j2 --target reader-config >/dev/null
mkdir -p "$OUT"
# Chinese first, as the tool starts; a fixed screen and locale make the
# pictures the same on every machine.
env -u QT_QPA_PLATFORM LANG=C.UTF-8 READER_CONFIG_SCREENSHOT_DIR="$(realpath "$OUT")" \
  xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" \
  "$BUILD_DIR/reader-config" --simulate=keypad
ls -1 "$OUT"/{general,keyboard}-{zh,en}.png
