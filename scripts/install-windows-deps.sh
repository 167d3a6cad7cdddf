#!/usr/bin/env bash
# Installs, by package name, what cross-building the tool for Windows and
# testing it under Wine needs on Debian 12. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest   # sources under /usr/src/googletest, built for the target
  nlohmann-json3-dev  # header-only, compiled in
  wine64 fonts-wine xvfb xauth imagemagick fonts-noto-cjk
  zip nsis
)

exec "$(dirname "$0")/apt-install.sh" "${packages[@]}"
