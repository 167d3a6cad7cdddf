#!/usr/bin/env bash
# Builds the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs it; any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# With make, CMake's default generator, where the other builds use Ninja.
BUILD_DIR=build-asan GENERATOR="Unix Makefiles" ./scripts/build.sh -DREADER_CONFIG_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Leaks inside system libraries the widget tests load (fontconfig, Mesa, D-Bus)
# are theirs, not ours.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
# The package build and the virtual machine run the same code as the plain
# suite already did; under the sanitizers they would only take time.
# desktop_wm_class starts the tool on a real X server, where libxkbcommon-x11
# calls strndup on a string without its NUL, which strict_string_checks reports;
# it checks the desktop file, which the plain suite already did. The xserver
# tests run on a real X server too, for the same reason only in the plain
# suite; the code they reach runs here under the offscreen widget tests.
ctest --test-dir build-asan --output-on-failure --label-exclude 'vm|package|xserver' \
  --exclude-regex '^desktop_wm_class$'
