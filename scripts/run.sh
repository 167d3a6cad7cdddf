#!/usr/bin/env bash
# Installs what the tool needs, builds it and starts it. Arguments go to the
# tool (for example --simulate).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# Only the two programs it starts: the commands and the window.
BUILD_TARGETS="reader-config reader-config-window" ./scripts/build.sh >/dev/null
exec ./build/reader-config "$@"
