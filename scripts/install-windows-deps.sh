#!/usr/bin/env bash
# Installs, by package name, what cross-building the tool for Windows and
# testing it under Wine needs on Debian 12. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest   # sources under /usr/src/googletest, built for the target
  wine64 fonts-wine xvfb xauth imagemagick fonts-noto-cjk
  zip nsis
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
