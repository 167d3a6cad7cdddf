#!/usr/bin/env bash
# Cross-builds the tool and its test suite for Windows (scripts/build-windows.sh)
# and runs them under Wine: the unit and behaviour tests headless, then a smoke
# test of the Win32 window under Xvfb that drives reader-config.exe --simulate
# through window messages and saves the window in Chinese and in English.
#   --update-screenshots   copy those pictures to docs/screenshots/
set -euo pipefail
cd "$(dirname "$0")/.."
update_shots=0
[ "${1:-}" = "--update-screenshots" ] && update_shots=1

export BUILD_DIR=${BUILD_DIR:-build-windows}
./scripts/build-windows.sh

WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-$(dirname "$WINE")/wineserver}
export WINEPREFIX=${WINEPREFIX:-$PWD/$BUILD_DIR/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offers to install Wine's Mono and Gecko
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# One virtual screen for the whole run: Wine keeps the screen size it first
# sees in the prefix.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(cat "$work/display")"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  DISPLAY=$display "$WINE" wineboot -i >/dev/null 2>&1
  # Wine draws the window frame itself (no window manager here), and the
  # Chinese faces a Chinese Windows has are Noto Sans CJK here.
  DISPLAY=$display "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
  for face in 宋体 SimSun 楷体 KaiTi Tahoma "MS Shell Dlg" "MS Shell Dlg 2"; do
    DISPLAY=$display "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v "$face" /d "Noto Sans CJK SC" /f >/dev/null
  done
fi

echo "== unit and behaviour tests under Wine (no display)"
# Left out: the locale test needs a glibc locale it builds with localedef,
# and the udev rule lookup test makes symbolic links as udev's directories have.
(cd "$BUILD_DIR" && env -u DISPLAY "$WINE" unit_tests.exe --gtest_brief=1 \
  --gtest_filter=-ReportTrace.DecimalPointIsAPointInEveryLocale:AccessDenial.RuleFoundAsUdevReadsItsDirectories)

echo "== the commands under Wine (no display), with file names in Chinese and a space"
exe=$(winpath "$BUILD_DIR/reader-config.exe")
cmds="$work/命令 测试"
mkdir -p "$cmds"
state="状态 文件.json" profile="配置 文件.json"
# rc STATUS ARGS...: runs the tool in $cmds, output to out and err there, and
# checks its exit status.
rc() {
  local want=$1 status=0
  shift
  (cd "$cmds" && env -u DISPLAY LC_ALL=C.UTF-8 "$WINE" "$exe" "$@" >out 2>err) || status=$?
  if [ "$status" != "$want" ]; then
    echo "test-windows: reader-config $* exited $status, not $want" >&2
    cat "$cmds/out" "$cmds/err" >&2
    exit 1
  fi
}
# has FILE LINE: FILE in $cmds holds LINE whole (a text file's lines end in CR LF).
has() {
  tr -d '\r' <"$cmds/$1" | grep -qxF -- "$2" || { echo "test-windows: no line '$2' in $1:" >&2; cat "$cmds/$1" >&2; exit 1; }
}
sim=(--simulate --simulate-state "$state")
rc 0 --help
has out "waits for it and sets ERRORLEVEL to its exit status."
rc 0 "${sim[@]}" list
has out "/dev/vhidraw0  interface 0  serial VR000001  open: yes"
rc 0 "${sim[@]}" --trace "跟踪 记录.txt" read --json
sed 's/"idFormat": 1/"idFormat": 5/' "$cmds/out" >"$cmds/$profile"
has "跟踪 记录.txt" "# reader-config HID trace 1"
rc 1 "${sim[@]}" verify "$profile"
has out "idFormat: expected 5, found 1"
rc 0 "${sim[@]}" apply "$profile"
has out "applied: the reader holds the profile"
rc 0 "${sim[@]}" verify "$profile"   # a second process finds what the first wrote
has out "the reader holds the profile"
has "$state" '  "version": 1'
rc 0 --simulate batch "$profile" --count 2 --log "批量 日志.csv"
has out "[1/2] /dev/vhidraw0: verified"
has out "[2/2] /dev/vhidraw0: verified"
[ "$(wc -l <"$cmds/批量 日志.csv")" = 3 ] || { echo "test-windows: batch log:" >&2; cat "$cmds/批量 日志.csv" >&2; exit 1; }
rc 2 read   # on the machine's own readers, of which Wine has none
has err "reader-config: no reader attached (USB vendor 016c, product 04f3)"
rc 2 --simulate verify "没有 这个.json"
has err "reader-config: 没有 这个.json: cannot read 没有 这个.json: No such file or directory"

# Wine's session (its desktop process) would stay without a display.
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w 2>/dev/null || true

echo "== the Win32 toolkit under Wine and Xvfb"
(cd "$BUILD_DIR" && DISPLAY=$display "$WINE" win32_tests.exe --gtest_brief=1)

echo "== the tool's window under Wine and Xvfb"
shots="$BUILD_DIR/screenshots"
rm -rf "$shots" && mkdir -p "$shots"
DISPLAY=$display "$WINE" "$BUILD_DIR/win-smoke.exe" "$(winpath "$BUILD_DIR/reader-config.exe")" \
  "$(winpath "$shots")"
for lang in zh en; do
  convert "$shots/windows-$lang.bmp" "$shots/windows-$lang.png"
  rm "$shots/windows-$lang.bmp"
done
if [ "$update_shots" = 1 ]; then
  cp "$shots"/windows-*.png docs/screenshots/
fi
echo "test-windows: all passed ($BUILD_DIR/reader-config.exe)"
