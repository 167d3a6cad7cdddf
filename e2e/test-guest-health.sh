#!/usr/bin/env bash
# guest-health.sh tells a slow guest from a healthy one by its console log.
set -euo pipefail
health=$(dirname "$0")/guest-health.sh
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
healthy='guest: kernel 6.1.0-28-amd64 up after 2.18 s
guest: timer: a 1 s sleep took 1.01 s
RESULT FAIL set-read-device/Read Device          1260.0 ms'
# name | console lines | expected verdict (slow or healthy) | expected reason
cases=(
  "healthy|$healthy|healthy|"
  "no measures|RESULT ok presence/plug 4.0 ms|healthy|"
  "slow boot|${healthy/2.18/110.42}|slow|took 110.42 s to start"
  "late timer|${healthy/1.01 s/2.73 s}|slow|a 1 s sleep took 2.73 s"
  "rcu stall|$healthy
[   61.1] rcu: INFO: rcu_sched self-detected stall on CPU|slow|1 RCU stall"
)
status=0
for c in "${cases[@]}"; do
  IFS='|' read -r name log verdict reason <<<"$(printf '%s' "$c" | tr '\n' '\a')"
  printf '%s\n' "$log" | tr '\a' '\n' >"$dir/console.log"
  if out=$("$health" "$dir/console.log"); then got=slow; else got=healthy; fi
  if [ "$got" != "$verdict" ] || ! grep -qF -- "$reason" <<<"$out"; then
    echo "FAIL $name: $got ($out), expected $verdict ($reason)"
    status=1
  fi
done
[ $status = 0 ] && echo "guest-health ok: ${#cases[@]} cases"
exit $status
