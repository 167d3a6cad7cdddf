#!/usr/bin/env bash
# Holds every #include of the tool's sources to the layer picture of
# cmake/Layers.cmake: a folder may include from the folders listed for it and
# no others (a file of the command line never includes the dialog, the core
# never a toolkit). Prints each include that breaks the picture.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

core="base device core reader keypad profile"
dialog="$core toolkit app app/device app/reader app/keypad app/profile"
cli="$core sim cli"
declare -A allowed=(
  [base]="base"
  [base/win32]="base"
  [device]="base device"
  [core]="$core" [reader]="$core" [keypad]="$core" [profile]="$core"
  [sim]="base device sim"
  [toolkit]="base toolkit"
  [toolkit/headless]="base toolkit toolkit/headless"
  [app]="$dialog" [app/device]="$dialog" [app/reader]="$dialog" [app/keypad]="$dialog"
  [app/profile]="$dialog"
  [cli]="$cli"
  [device/hidapi]="base device device/hidapi device/udev"
  [device/udev]="base device device/udev"
  [cli/linux]="$cli cli/linux device/hidapi device/udev"
  [toolkit/qt]="base toolkit toolkit/qt"
  [device/win32]="base device device/win32 toolkit/win32"
  [cli/win32]="$cli cli/win32 device/win32 toolkit/win32"
  [toolkit/web]="base toolkit toolkit/web"
  [device/webhid]="base device device/webhid"
  [web]="$dialog sim toolkit/web device/webhid"
)

bad=0
for dir in "${!allowed[@]}"; do
  for file in "$dir"/*.cpp "$dir"/*.h; do
    [ -e "$file" ] || continue
    while IFS= read -r line; do
      included=${line#*\"}
      included=${included%%\"*}
      [[ $included == */* ]] || continue
      from=${included%/*}
      ok=0
      for a in ${allowed[$dir]}; do [ "$from" = "$a" ] && ok=1 && break; done
      if [ $ok = 0 ]; then
        echo "$file includes $included: $dir may use only ${allowed[$dir]}"
        bad=1
      fi
    done < <(grep -E '^#include "' "$file" || true)
  done
done
# Every folder of sources belongs to a layer.
while IFS= read -r dir; do
  case $dir in tests*|e2e*|bench*|fuzz*|toolkit/win32|.|build*) continue ;; esac
  [ -n "${allowed[$dir]+x}" ] || { echo "$dir holds sources but belongs to no layer"; bad=1; }
done < <(find . -name '*.cpp' -not -path './build*' -printf '%h\n' | sed 's|^\./||' | sort -u)
[ $bad = 0 ] && echo "layers ok"
exit $bad
