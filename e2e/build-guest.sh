#!/usr/bin/env bash
# Builds the end-to-end guest from Debian's packages, without installing them:
#   WORK/kernel      the kernel to boot: the uncompressed ELF vmlinux (booted
#                    directly through PVH) or, failing that, the package's bzImage
#   WORK/initrd.gz   busybox, the hid, uhid and hid-generic modules, the two
#                    programs with their shared libraries, and the init
# The downloaded packages and the unpacked kernel are kept in WORK/cache (or
# GUEST_CACHE, which guests of several kinds may share). With GUEST_UDEV_RULE
# and GUEST_UDEV_PROBE set, the guest also gets the USB gadget modules, the
# host's udevadm, the rule and its helper, and the reader's two report
# descriptors, for the rule check of guest-udev-check.sh.
# Usage: build-guest.sh WORK READER_PROGRAM DRIVER_PROGRAM
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 WORK READER_PROGRAM DRIVER_PROGRAM" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mkdir -p "$1" && cd "$1" && pwd)
reader=$2
driver=$3
cache=${GUEST_CACHE:-$work/cache}
mkdir -p "$cache"

refresh_lists() {
  echo "build-guest: refreshing the package lists" >&2
  if [ "$(id -u)" -eq 0 ]; then apt-get update -q >&2; else sudo apt-get update -q >&2; fi
}

# The versioned kernel package the linux-image-amd64 metapackage points to.
kernel_package() {
  apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-/ {print $2; exit}'
}

# Fetches one package (by name) into the cache unless it is there; prints its file.
fetch() {
  local name=$1 file
  file=$(ls "$cache"/"${name}"_*.deb 2>/dev/null | head -n1 || true)
  if [ -z "$file" ]; then
    (cd "$cache" && apt-get -q -o APT::Sandbox::User=root download "$name" >&2) || return 1
    file=$(ls "$cache"/"${name}"_*.deb | head -n1)
  fi
  echo "$file"
}

# Stale package lists may name a kernel the archive no longer has: refresh
# them once and ask again.
kpkg=$(kernel_package)
if [ -z "$kpkg" ] || ! kdeb=$(fetch "$kpkg") || ! bdeb=$(fetch busybox-static); then
  refresh_lists
  kpkg=$(kernel_package)
  [ -n "$kpkg" ] || { echo "build-guest: cannot resolve linux-image-amd64" >&2; exit 1; }
  kdeb=$(fetch "$kpkg")
  bdeb=$(fetch busybox-static)
fi
kroot=$cache/${kpkg}
if [ ! -f "$kroot/.unpacked" ]; then
  rm -rf "$kroot" && mkdir -p "$kroot"
  dpkg-deb -x "$kdeb" "$kroot"
  touch "$kroot/.unpacked"
fi
broot=$cache/busybox
[ -x "$broot/bin/busybox" ] || { mkdir -p "$broot" && dpkg-deb -x "$bdeb" "$broot"; }

# The uncompressed kernel, found inside the bzImage as the kernel's
# extract-vmlinux script finds it: the first compressed stream that unpacks
# to an ELF file.
vmlinuz=$(ls "$kroot"/boot/vmlinuz-* | head -n1)
vmlinux=$cache/vmlinux-$kpkg
if [ ! -s "$vmlinux" ]; then
  for c in "xz -dc:\xfd7zXZ\x00" "zstd -dcq:\x28\xb5\x2f\xfd" "gzip -dc:\x1f\x8b\x08"; do
    tool=${c%%:*}
    command -v "${tool%% *}" >/dev/null || continue
    for off in $(LC_ALL=C grep -obUaP "${c#*:}" "$vmlinuz" | cut -d: -f1); do
      tail -c +$((off + 1)) "$vmlinuz" | $tool > "$vmlinux.part" 2>/dev/null || true
      if [ "$(head -c4 "$vmlinux.part" | od -An -c | tr -d ' ')" = '177ELF' ]; then
        mv "$vmlinux.part" "$vmlinux"
        break 2
      fi
    done
  done
  rm -f "$vmlinux.part"
fi
if [ -s "$vmlinux" ]; then
  ln -sf "$vmlinux" "$work/kernel"
else
  echo "build-guest: no vmlinux inside $vmlinuz, booting the bzImage" >&2
  ln -sf "$vmlinuz" "$work/kernel"
fi

root=$work/root
rm -rf "$root"
mkdir -p "$root/bin" "$root/modules"
cp "$broot/bin/busybox" "$root/bin/"
# The kernel modules named, into /modules (the init loads them by name).
copy_modules() {
  local m ko
  for m in "$@"; do
    ko=$(find "$kroot/lib/modules" -name "$m.ko" | head -n1)
    [ -n "$ko" ] || { echo "build-guest: module $m.ko not in $kpkg" >&2; exit 1; }
    cp "$ko" "$root/modules/"
  done
}
# Every shared library the programs load, at the path it is loaded from.
copy_libraries() {
  local prog lib
  for prog in "$@"; do
    for lib in $(ldd "$prog" | grep -o '/[^ ]*'); do
      mkdir -p "$root$(dirname "$lib")"
      cp -L "$lib" "$root$lib"
    done
  done
}
copy_modules hid uhid hid-generic
cp "$here/guest-init.sh" "$root/init"
chmod +x "$root/init"
# The init runs them by these names; without their debug information (most
# of their size), which the guest has no use for.
strip --strip-debug -o "$root/bin/uhid-reader" "$reader"
strip --strip-debug -o "$root/bin/vm-driver" "$driver"
copy_libraries "$reader" "$driver"
if [ -n "${GUEST_UDEV_RULE:-}" ]; then
  # The reader as a USB device of the guest's own: a gadget on the dummy
  # host controller, seen through usbhid as a real reader is.
  copy_modules configfs usb-common usbcore udc-core libcomposite usb_f_hid dummy_hcd usbhid
  # The descriptors the device program gives uhid, as bytes.
  mkdir -p "$root/e2e"
  for name in reader keyboard; do
    desc=$root/e2e/$name.desc
    sed -n "/${name^^}_REPORT_DESCRIPTOR = {/,/^};/p" "$here/uhid/ReaderDescriptor.h" |
      sed 's|//.*||' | grep -o '0x[0-9A-Fa-f][0-9A-Fa-f]' |
      while read -r byte; do printf "\\$(printf '%03o' "$byte")"; done >"$desc"
    [ -s "$desc" ] || { echo "build-guest: no $name descriptor" >&2; exit 1; }
  done
  mkdir -p "$root/lib/udev/rules.d" "$root/run" "$root/etc/udev"
  cp "$GUEST_UDEV_RULE" "$root/lib/udev/rules.d/"
  strip --strip-debug -o "$root/lib/udev/reader-config-udev-probe" "$GUEST_UDEV_PROBE"
  cp -L "$(command -v udevadm)" "$root/bin/udevadm"
  cp "$here/guest-udev-check.sh" "$root/bin/guest-udev-check"
  chmod +x "$root/bin/guest-udev-check"
  copy_libraries "$(command -v udevadm)" "$GUEST_UDEV_PROBE"
fi
(cd "$root" && find . | LC_ALL=C sort | cpio -o -H newc --quiet) | gzip -1 > "$work/initrd.gz"
echo "build-guest: kernel $kpkg ($(basename "$(readlink "$work/kernel")")), initrd $(du -h "$work/initrd.gz" | cut -f1)" >&2
