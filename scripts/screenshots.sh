#!/usr/bin/env bash
# Takes the README's pictures: the tool with the virtual keypad reader under
# a virtual X server, both views in both languages, into docs/screenshots/
# (or the folder given); then the whole screen as the tool starts on a
# 1366x768 laptop screen and on a 1920x1080 screen at 150% scaling.
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
OUT=$(realpath "$OUT")
# Chinese first, as the tool starts; a fixed screen and locale make the
# pictures the same on every machine.
shoot() { # screen size, scale factor, extra environment
  local size=$1 scale=$2
  shift 2
  env -u QT_QPA_PLATFORM LANG=C.UTF-8 QT_SCALE_FACTOR="$scale" READER_CONFIG_SCREENSHOT_DIR="$OUT" "$@" \
    xvfb-run --auto-servernum --server-args="-screen 0 ${size}x24 -dpi 96" \
    "$BUILD_DIR/reader-config" --simulate=keypad
}
shoot 1280x1024 1
shoot 1366x768 1 READER_CONFIG_SCREENSHOT_SCREEN=screen-1366x768
shoot 1920x1080 1.5 READER_CONFIG_SCREENSHOT_SCREEN=screen-1920x1080-150
ls -1 "$OUT"/{general,keyboard}-{zh,en}.png "$OUT"/screen-*.png
