#!/usr/bin/env bash
# The rule matches hidraw nodes of the reader only, grants access through the
# seat (uaccess) and never makes the node world-writable.
set -euo pipefail
rule=$1
grep -v '^#' "$rule" | grep -q 'SUBSYSTEM=="hidraw"' || { echo "no hidraw match"; exit 1; }
grep -q 'ATTRS{idVendor}=="016c"' "$rule" || { echo "vendor id missing or not lower-case hex"; exit 1; }
grep -q 'ATTRS{idProduct}=="04f3"' "$rule" || { echo "product id missing or not lower-case hex"; exit 1; }
grep -q 'IMPORT{program}="reader-config-udev-probe %S%p"' "$rule" ||
  { echo "the settings-interface probe is not imported"; exit 1; }
# Only the node the probe calls the settings interface gets the tag (what
# udev does with it is checked in the VM: vm_udev_rule).
tagging=$(grep -v '^#' "$rule" | grep 'TAG+="uaccess"' || true)
[ -n "$tagging" ] || { echo "no uaccess tag"; exit 1; }
grep -vq 'ENV{READER_CONFIG_SETTINGS}=="1"' <<<"$tagging" &&
  { echo "uaccess is given to nodes other than the settings interface"; exit 1; }
if grep -v '^#' "$rule" | grep -Eq 'MODE="0?[0-7]{2}[2367]"'; then
  echo "world-writable mode"; exit 1
fi
echo "udev rule ok"
