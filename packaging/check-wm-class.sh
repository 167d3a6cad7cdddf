#!/usr/bin/env bash
# Starts the tool on a virtual X server and checks that its main window's
# WM_CLASS is the desktop file's StartupWMClass, which is how docks and task
# bars match the window to the launcher. Skips (77) without Xvfb.
# Usage: check-wm-class.sh PROGRAM DESKTOP_FILE
set -euo pipefail
program=$1
desktop=$2
expected=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$expected" ] || { echo "no StartupWMClass in $desktop"; exit 1; }
for tool in xvfb-run xwininfo; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
# xwininfo lists each window with ("instance" "class"); the tool's windows
# are the only ones on this server. Waits up to 60 s for the window to map.
classes=$(env -u QT_QPA_PLATFORM xvfb-run --auto-servernum sh -c '
  "$1" --simulate & pid=$!
  for i in $(seq 600); do
    found=$(xwininfo -root -tree | sed -n "s/.*(\"[^\"]*\" \"\([^\"]*\)\").*/\1/p" | sort -u)
    [ -n "$found" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  echo "$found"' sh "$program")
[ -n "$classes" ] || { echo "the tool showed no window"; exit 1; }
[ "$classes" = "$expected" ] || { echo "WM_CLASS class '$classes', desktop file '$expected'"; exit 1; }
echo "WM_CLASS class is $expected"
