#!/usr/bin/env bash
# Installs, by package name, what building and booting the end-to-end guest
# needs on the host. Safe to run again: nothing happens when all are there.
# The guest's own kernel and busybox are fetched by build-guest.sh, not installed.
set -euo pipefail

packages=(qemu-system-x86 cpio xz-utils zstd gzip)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
