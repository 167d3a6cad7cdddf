#!/usr/bin/env bash
# Installs, by package name, every Debian package that building, running and
# testing the tool needs. Safe to run again: apt skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ninja-build
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins
  libgl-dev libxkbcommon-dev
  libhidapi-dev libhidapi-hidraw0 libudev-dev
  nlohmann-json3-dev
  libgtest-dev libgmock-dev googletest
  clang-format
  clang libclang-rt-14-dev
  dpkg-dev librsvg2-bin desktop-file-utils appstream lintian x11-utils
  locales  # a comma-decimal locale for the trace tests; the GBK charmap the table comes from
  fish zsh  # the shell completion tests (bash's runs in any case)
  fonts-noto-cjk fonts-wqy-zenhei
  xvfb xauth
  libxcb1-dev libxcb-xtest0-dev  # the key tests press keys through the X server's test extension
  qt6-translations-l10n  # Qt's own texts (message box buttons, edit menus) in Chinese
  qemu-system-x86 cpio xz-utils zstd  # the end-to-end virtual machine (e2e/install-vm-deps.sh)
)

exec "$(dirname "$0")/apt-install.sh" "${packages[@]}"
