#!/usr/bin/env bash
# Runs the tests that depend on how the build machine is set up once more
# with udev installed, as on a contributor's desktop: the Debian package
# (whose udev rule must land in the same place either way) and the device
# adapters (udev's monitor, its rule directories), and the udev rule as
# udev itself processes it, in the test VM. Expects the build of
# scripts/test.sh in build/ (or $BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
./scripts/apt-install.sh udev
# Configure anew, so that whatever reads udev's pkg-config file reads it now.
cmake -S . -B "$BUILD_DIR" >/dev/null
cmake --build "$BUILD_DIR"
ctest --test-dir "$BUILD_DIR" --output-on-failure -L package
ctest --test-dir "$BUILD_DIR" --output-on-failure -R 'Udev|AccessDenial|Hidapi|vm_udev_rule'
