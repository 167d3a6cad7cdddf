#!/usr/bin/env bash
# Builds the tool and its benchmarks (Release, in build/ or $BUILD_DIR) and
# prints the benchmark table. Arguments go to the benchmark program, e.g.
#   bench/run.sh --runs 50
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD_DIR" -j2 --target reader-config minimal-dialog minimal-commands measure-process reader-config-bench >/dev/null
exec "$BUILD_DIR/bench/reader-config-bench" \
  --tool "$BUILD_DIR/reader-config" --minimal "$BUILD_DIR/bench/minimal-dialog" "$@"
