#!/usr/bin/env bash
# Tells from a guest's console log whether the guest ran slowly: a host so
# loaded that the emulated CPU starved. Prints the reason and exits 0 when it
# was slow, exits 1 when it was healthy (or the log says nothing about it).
# Healthy under TCG on the 2-core CI machine: up after about 2 s, a 1 s
# sleep takes 1.00-1.02 s, no RCU stall.
# Usage: guest-health.sh CONSOLE_LOG
set -euo pipefail
log=$1
reasons=()
boot=$(grep -a -m1 -o 'guest: kernel .* up after [0-9.]* s' "$log" | grep -o '[0-9.]* s$' | cut -d' ' -f1 || true)
if [ -n "$boot" ] && awk -v b="$boot" 'BEGIN { exit !(b > 15) }'; then
  reasons+=("the kernel took $boot s to start (about 2 s when healthy)")
fi
sleep_s=$(grep -a -m1 -o 'guest: timer: a 1 s sleep took [0-9.]* s' "$log" | grep -o '[0-9.]* s$' | cut -d' ' -f1 || true)
if [ -n "$sleep_s" ] && awk -v s="$sleep_s" 'BEGIN { exit !(s > 1.5) }'; then
  reasons+=("a 1 s sleep took $sleep_s s")
fi
stalls=$(grep -a -c -E 'rcu: INFO: .*(detected stalls|self-detected stall)' "$log" || true)
if [ "${stalls:-0}" -gt 0 ]; then
  reasons+=("the kernel reported $stalls RCU stall(s)")
fi
[ ${#reasons[@]} -gt 0 ] || exit 1
(IFS=';'; echo "${reasons[*]}" | sed 's/;/; /g')
