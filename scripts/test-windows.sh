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
# The build folder may be given relative or absolute.
export WINEPREFIX=${WINEPREFIX:-$(realpath "$BUILD_DIR")/wine}
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
has out "changed idFormat: 1 -> 5"
has out "applied: the reader holds the profile"
rc 0 "${sim[@]}" verify "$profile"   # a second process finds what the first wrote
has out "the reader holds the profile"
rc 0 "${sim[@]}" apply --json "$profile"   # written once: a second apply changes nothing
has out '  "changed": false,'
rc 0 "${sim[@]}" verify - <"$cmds/$profile"   # the profile from standard input
has out "the reader holds the profile"
sed 's/"idFormat": 5/"idFormat": 7/' "$cmds/$profile" >"$cmds/seven.json"
rc 1 "${sim[@]}" --lang zh verify seven.json
has out "idFormat：应为 7，实际为 5"
has "$state" '  "version": 1'
rc 0 --simulate batch "$profile" --count 2 --log "批量 日志.csv"
has out "[1/2] /dev/vhidraw0: verified"
has out "[2/2] /dev/vhidraw0: verified"
has out "summary: 2 configured, 0 failed, 0 skipped"
[ "$(wc -l <"$cmds/批量 日志.csv")" = 3 ] || { echo "test-windows: batch log:" >&2; cat "$cmds/批量 日志.csv" >&2; exit 1; }
rc 2 read   # on the machine's own readers, of which Wine has none
has err "reader-config: no reader attached (USB vendor 016c, product 04f3)"
rc 2 --simulate verify "没有 这个.json"
has err "reader-config: cannot read 没有 这个.json: No such file or directory"
rc 2 --simulate --lang zh verify "没有 这个.json"
has err "reader-config: 无法读取文件 没有 这个.json：No such file or directory"
rc 0 apply --help
has out "Usage: reader-config [OPTION]... apply PROFILE [--force]"

echo "== the zip and the installer under Wine: install, run the installed tool, uninstall"
version=$(sed -n 's/^project(reader-config VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
notices=(LICENSE.txt licenses/mingw-w64-runtime-and-winpthreads.txt licenses/gcc-runtime.txt
  licenses/nlohmann-json.txt)
fail() { echo "test-windows: $*" >&2; exit 1; }
listing=$(zip -sf "$BUILD_DIR/dist/reader-config-$version-win64.zip")
for f in reader-config.exe "${notices[@]}"; do
  grep -qxF "  reader-config/$f" <<<"$listing" || fail "the zip lacks $f:"$'\n'"$listing"
done
drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/reader-config"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/reader-config.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\reader-config'
# Every file of the prefix but the temporary ones (the uninstaller runs from
# a copy there, which Windows removes at the next start).
files() { (cd "$drive_c" && find . -path ./users/\*/Temp -prune -o -print | sort); }
files >"$work/before"
env -u DISPLAY "$WINE" "$(winpath "$BUILD_DIR/dist/reader-config-$version-setup.exe")" /S ||
  fail "the installer failed"
for f in reader-config.exe uninstall.exe "${notices[@]}"; do
  [ -s "$installed/$f" ] || fail "not installed: $f"
done
grep -q 'mingw-w64-libraries/winpthreads' "$installed/licenses/mingw-w64-runtime-and-winpthreads.txt" ||
  fail "winpthreads' notice is missing"
[ -f "$shortcut" ] || fail "no Start-menu shortcut for all users"
entry=$(env -u DISPLAY "$WINE" reg query "$key" | tr -d '\r')
for value in "DisplayName    REG_SZ    reader-config" "DisplayVersion    REG_SZ    $version" \
  "Publisher    REG_SZ    reader-config developers" \
  'DisplayIcon    REG_SZ    C:\Program Files\reader-config\reader-config.exe,0' \
  'UninstallString    REG_SZ    "C:\Program Files\reader-config\uninstall.exe"'; do
  grep -qxF "    $value" <<<"$entry" || fail "uninstall entry lacks '$value':"$'\n'"$entry"
done
size=$(sed -n 's/^ *EstimatedSize *REG_DWORD *\(0x[0-9a-f]*\)$/\1/p' <<<"$entry")
[ -n "$size" ] && [ $((size)) -gt 1000 ] || fail "EstimatedSize is '$size' KB"
ran=$(env -u DISPLAY "$WINE" 'C:\Program Files\reader-config\reader-config.exe' --version | tr -d '\r')
[ "$ran" = "reader-config $version" ] || fail "the installed tool says '$ran'"
env -u DISPLAY "$WINE" 'C:\Program Files\reader-config\uninstall.exe' /S || fail "the uninstaller failed"
timeout 60 "$WINESERVER" -w || fail "Wine did not end"  # the uninstaller goes on in its copy
! env -u DISPLAY "$WINE" reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry stayed"
files >"$work/after"
diff "$work/before" "$work/after" || fail "the uninstaller left these behind (or removed them)"

# Wine's session (its desktop process) would stay without a display.
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w 2>/dev/null || true

echo "== the Win32 toolkit under Wine and Xvfb"
(cd "$BUILD_DIR" && DISPLAY=$display "$WINE" win32_tests.exe --gtest_brief=1)

# fit SCREEN DPI: the main dialog's fit on a Wine desktop of that size and DPI.
fit() {
  "$WINESERVER" -k 2>/dev/null || true
  DISPLAY=$display "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Fit /d "$1" /f >/dev/null
  DISPLAY=$display "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Fit /f >/dev/null
  DISPLAY=$display "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null
  "$WINESERVER" -k 2>/dev/null || true
  local status=0
  (cd "$BUILD_DIR" && DISPLAY=$display READER_CONFIG_TEST_DPI=$2 "$WINE" win32_tests.exe \
    --gtest_brief=1 --gtest_filter='Win32WindowFit.*') || status=$?
  DISPLAY=$display "$WINE" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null
  DISPLAY=$display "$WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null
  "$WINESERVER" -k 2>/dev/null || true
  return "$status"
}
echo "== the main dialog on a 1366x768 screen, and at 150% (144 dpi) on a 1920x1080 one"
fit 1366x768 96
fit 1920x1080 144

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
