#!/bin/busybox sh
# /init of the end-to-end guest: mounts the kernel file systems, loads the HID
# modules, runs the driver against the device program and powers off. The
# last line on the console says how the driver ended.
/bin/busybox mkdir -p /proc /sys /dev /tmp
/bin/busybox mount -t proc proc /proc
/bin/busybox mount -t sysfs sysfs /sys
/bin/busybox mount -t devtmpfs devtmpfs /dev
exec </dev/console >/dev/console 2>&1
/bin/busybox --install -s /bin
export PATH=/bin

finish() {
  echo "guest: done after $(cut -d' ' -f1 /proc/uptime) s of uptime"
  echo "VM-E2E-STATUS $1"
  poweroff -f
}

echo "guest: kernel $(uname -r) up after $(cut -d' ' -f1 /proc/uptime) s"
# No modules.dep in the image: hid first, then what needs it. Without
# hid-generic no hidraw node appears.
for m in hid uhid hid-generic; do
  insmod "/modules/$m.ko" || { echo "guest: cannot load $m"; finish 3; }
done

# How far the guest's timers lag behind: a starved emulated CPU wakes late.
t0=$(cut -d' ' -f1 /proc/uptime)
sleep 1
t1=$(cut -d' ' -f1 /proc/uptime)
echo "guest: timer: a 1 s sleep took $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", b - a }') s"

# The udev rule check runs instead of the driver.
if grep -qw 'e2e.udev=1' /proc/cmdline; then
  /bin/guest-udev-check
  finish $?
fi

args=""
for word in $(cat /proc/cmdline); do
  case "$word" in
    e2e.only=*) args="$args --only ${word#e2e.only=}" ;;
    e2e.repeat=*) args="$args --repeat ${word#e2e.repeat=}" ;;
    e2e.verbose=1) args="$args -v" ;;
  esac
done
/bin/vm-driver --reader /bin/uhid-reader $args
finish $?
