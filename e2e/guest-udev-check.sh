#!/bin/busybox sh
# In the guest: the reader made as a USB device (a gadget with its settings
# interface and its keyboard interface, the reader's ids and 64-byte and
# keyboard report descriptors), then udevadm's processing of each hidraw
# node with the package's rule and helper. The settings node must keep the
# uaccess tag, the keyboard node must not have it. Exits 0 when so.
set -e
for m in configfs usb-common usbcore udc-core libcomposite usb_f_hid dummy_hcd usbhid; do
  insmod "/modules/$m.ko" || { echo "guest-udev: cannot load $m"; exit 3; }
done
mount -t configfs none /sys/kernel/config
g=/sys/kernel/config/usb_gadget/reader
mkdir "$g"
echo 0x016c >"$g/idVendor"
echo 0x04f3 >"$g/idProduct"
mkdir "$g/strings/0x409"
echo E2E-UDEV-1 >"$g/strings/0x409/serialnumber"
echo "e2e card reader" >"$g/strings/0x409/product"
mkdir "$g/configs/c.1"
# Interface 0: the settings, 64-byte reports both ways; interface 1: the
# boot keyboard the reader types through.
for f in reader keyboard; do
  d=$g/functions/hid.$f
  mkdir "$d"
  if [ "$f" = keyboard ]; then
    echo 1 >"$d/subclass"; echo 1 >"$d/protocol"; echo 8 >"$d/report_length"
  else
    echo 0 >"$d/subclass"; echo 0 >"$d/protocol"; echo 64 >"$d/report_length"
  fi
  cat "/e2e/$f.desc" >"$d/report_desc"
  ln -s "$d" "$g/configs/c.1/"
done
echo "$(ls /sys/class/udc | head -n1)" >"$g/UDC"

# usbhid binds both interfaces: two hidraw nodes.
i=0
while [ "$(ls /sys/class/hidraw 2>/dev/null | wc -l)" -lt 2 ]; do
  i=$((i + 1))
  [ "$i" -le 100 ] || { echo "guest-udev: the gadget's hidraw nodes did not appear"; ls -l /sys/class/hidraw; exit 4; }
  sleep 0.1
done

status=0
for node in /sys/class/hidraw/*; do
  name=$(basename "$node")
  # Which interface the node is: its descriptor's first usage page
  # (06 00 FF: vendor-defined settings; 05 01: generic desktop keyboard).
  first=$(od -An -tx1 -N2 "$node/device/report_descriptor" | tr -d ' ')
  case "$first" in
    0600) kind=settings want=yes ;;
    0501) kind=keyboard want=no ;;
    *) echo "guest-udev: $name: unknown descriptor start $first"; status=1; continue ;;
  esac
  out=$(udevadm test --action=add "$node" 2>&1 || true)
  tags=$(echo "$out" | grep '^CURRENT_TAGS=' || true)
  settings=$(echo "$out" | grep '^READER_CONFIG_SETTINGS=' || true)
  case "$tags" in *:uaccess:*) has=yes ;; *) has=no ;; esac
  echo "guest-udev: $name ($kind): uaccess $has; ${settings:-READER_CONFIG_SETTINGS unset}; ${tags:-no tags}"
  if [ "$has" != "$want" ]; then
    echo "guest-udev: FAIL: the $kind node's uaccess tag: $has, wanted: $want"
    echo "$out" | tail -n 40
    status=1
  fi
done
exit "$status"
