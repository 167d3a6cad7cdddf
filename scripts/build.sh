#!/usr/bin/env bash
# Configures and builds the tool and its tests in build/ (or $BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# Ninja unless GENERATOR says otherwise ("Unix Makefiles", CMake's own
# default, is what the sanitized run builds with, so both stay working).
# BUILD_TARGETS, when set, builds only those targets.
GENERATOR=${GENERATOR:-Ninja}
cmake -S . -B "$BUILD_DIR" -G "$GENERATOR" "$@"
targets=()
for t in ${BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$BUILD_DIR" --parallel "$(nproc)" "${targets[@]}"
