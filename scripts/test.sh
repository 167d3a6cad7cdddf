#!/usr/bin/env bash
# Installs what the build and the tests need, builds, and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
ctest --test-dir build --output-on-failure
