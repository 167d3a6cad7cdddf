#!/usr/bin/env bash
# A batch "until stopped" as a person stops it: Ctrl+C (SIGINT) ends it
# after every reader it started is reported and logged, and the process then
# ends by that signal; a reader of its output that goes away (head) ends it
# with status 2 and the reason, its log rows whole.
set -euo pipefail
bin=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
"$bin" --simulate read --json >p.json

mkfifo progress
"$bin" --simulate batch p.json --parallel --log stopped.csv >progress 2>err &
pid=$!
exec 3<progress
read -r _ <&3
read -r _ <&3
kill -INT "$pid"
cat <&3 >rest
status=0
wait "$pid" || status=$?
[ "$status" -eq 130 ] || { echo "status $status after SIGINT"; cat err; exit 1; }
grep -q "batch: stopped" err || { echo "no stop message"; cat err; exit 1; }
lines=$((2 + $(grep -c '^\[' rest || true)))
rows=$(($(wc -l <stopped.csv) - 1))
[ "$rows" -eq "$lines" ] || { echo "$lines readers reported, $rows logged"; exit 1; }

status=0
"$bin" --simulate batch p.json --parallel --log closed.csv 2>err | head -n 3 >/dev/null ||
  status=${PIPESTATUS[0]}
[ "$status" -eq 2 ] || { echo "status $status with its output closed"; cat err; exit 1; }
grep -q "cannot write the standard output" err || { echo "no reason given"; cat err; exit 1; }
[ "$(tail -c 2 closed.csv | od -An -c | tr -d ' ')" = '\r\n' ] || { echo "a row cut short"; exit 1; }
echo "batch-stop: passed ($rows readers logged after SIGINT)"
