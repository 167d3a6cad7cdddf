#!/usr/bin/env bash
# Installs, by package name, what building and booting the end-to-end guest
# needs on the host. Safe to run again: nothing happens when all are there.
# The guest's own kernel and busybox are fetched by build-guest.sh, not installed.
set -euo pipefail

packages=(qemu-system-x86 cpio xz-utils zstd gzip)

exec "$(dirname "$0")/../scripts/apt-install.sh" "${packages[@]}"
