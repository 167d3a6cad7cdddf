#!/usr/bin/env bash
# Boots the end-to-end guest with qemu and reports what the driver printed on
# its serial console. Exits 0 when every operation succeeded, 77 (skip) only
# when qemu cannot run on this machine, 1 on any other failure.
# Usage: run-vm.sh --reader PROGRAM --driver PROGRAM [--work DIR] [--only NAMES] [--repeat N] [-v]
#        [--udev-rule RULE --udev-probe PROGRAM]
# With --udev-rule the guest checks the udev rule instead of running the
# driver: a reader made as a USB device through the kernel's gadget drivers
# (dummy_hcd), its two interfaces processed by the host's udevadm; that
# needs udev on the host (77 without it).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
reader="" driver="" work="" extra="" udev_rule="" udev_probe=""
usage="usage: $0 --reader PROGRAM --driver PROGRAM [--work DIR] [--only NAMES] [--repeat N] [-v] [--udev-rule RULE --udev-probe PROGRAM]"
while [ $# -gt 0 ]; do
  case "$1" in
    --reader) reader=$2; shift 2 ;;
    --driver) driver=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --only) extra="$extra e2e.only=$2"; shift 2 ;;
    --repeat) extra="$extra e2e.repeat=$2"; shift 2 ;;
    -v) extra="$extra e2e.verbose=1"; shift ;;
    --udev-rule) udev_rule=$2; shift 2 ;;
    --udev-probe) udev_probe=$2; shift 2 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
if [ -n "$udev_rule" ]; then
  [ -n "$udev_probe" ] || { echo "$usage" >&2; exit 2; }
  if ! command -v udevadm >/dev/null; then
    echo "run-vm: SKIP: the rule check needs udevadm on this machine (apt install udev)"
    exit 77
  fi
  extra="$extra e2e.udev=1"
  export GUEST_UDEV_RULE=$udev_rule GUEST_UDEV_PROBE=$udev_probe
fi
[ -n "$reader" ] && [ -n "$driver" ] || { echo "run-vm: --reader and --driver are needed" >&2; exit 2; }
work=${work:-$(dirname "$driver")/guest}
mkdir -p "$work"

"$here/install-vm-deps.sh" || echo "run-vm: could not install the guest's host packages" >&2
qemu=${E2E_QEMU:-qemu-system-x86_64}  # another qemu binary, if set
if ! command -v $qemu >/dev/null; then
  echo "run-vm: SKIP: $qemu is not installed"
  exit 77
fi
# qemu must at least build the machine; it stops at once (-S, then quit).
if ! echo quit | $qemu -M q35 -accel tcg -display none -nodefaults -no-user-config \
      -monitor stdio -serial none -S >/dev/null 2>&1; then
  echo "run-vm: SKIP: $qemu cannot start a machine here"
  exit 77
fi

"$here/build-guest.sh" "$work" "$reader" "$driver"

# KVM only where the CPU can run a hardware hypervisor; otherwise emulation.
accel=(-accel tcg)
if [ -r /dev/kvm ] && [ -w /dev/kvm ] && grep -qwE 'vmx|svm' /proc/cpuinfo; then
  accel=(-accel kvm -cpu host)
fi

# Boots the guest once with the extra kernel arguments $1, its console in $2.
# Sets run_status: 0 when every operation succeeded, else why not.
boot_and_run() {
  local args=$1 log=$2 start elapsed qemu_status status
  start=$(date +%s%N)
  set +e
  timeout 900 $qemu -M q35 "${accel[@]}" -m 512 -smp 1 -nodefaults -no-user-config \
    -display none -monitor none -serial stdio -no-reboot \
    -kernel "$work/kernel" -initrd "$work/initrd.gz" \
    -append "console=ttyS0 quiet panic=-1$args" </dev/null | tr -d '\r' | tee "$log"
  qemu_status=${PIPESTATUS[0]}
  set -e
  elapsed=$((($(date +%s%N) - start) / 1000000))
  echo "run-vm: boot and run took $elapsed ms (${accel[1]}, $(basename "$(readlink -f "$work/kernel")"))"
  status=$(grep -a '^VM-E2E-STATUS ' "$log" | tail -n1 | cut -d' ' -f2)
  if [ -z "$status" ]; then
    run_status="the guest ended without a result (qemu status $qemu_status)"
  elif [ "$status" != 0 ]; then
    run_status="the driver ended with status $status"
  else
    run_status=0
  fi
}

log=$work/console.log
boot_and_run "$extra" "$log"
if [ "$run_status" != 0 ]; then
  # On a loaded host the emulated CPU starves and an answer misses its
  # window. Such a run is tried once more, with the scenarios that failed;
  # a healthy guest's failure, or a second one, is a fault.
  if ! slow=$("$here/guest-health.sh" "$log"); then
    echo "run-vm: FAIL: $run_status"
    exit 1
  fi
  failed=$(grep -a '^RESULT FAIL ' "$log" | awk '{print $3}' | cut -d/ -f1 | sort -u | paste -sd, -)
  retry=$(echo "$extra" | sed -E 's/ e2e\.(only|repeat)=[^ ]*//g')
  [ -z "$failed" ] || retry="$retry e2e.only=$failed"
  echo "run-vm: $run_status, but the guest was slow ($slow): running ${failed:-every scenario} once more"
  boot_and_run "$retry" "$work/console-retry.log"
  if [ "$run_status" != 0 ]; then
    echo "run-vm: FAIL on the second run too: $run_status"
    exit 1
  fi
  echo "run-vm: the second run succeeded: the first failure came from the slow guest"
fi
echo "run-vm: all operations succeeded"
