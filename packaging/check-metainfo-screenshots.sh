#!/usr/bin/env bash
# Every screenshot the metainfo names is in the screenshot folder, and the
# width and height it declares are the image's own (from its PNG header).
set -euo pipefail
metainfo=$1
shots=$2
found=0
while read -r width height name; do
  file=$shots/$name
  [ -f "$file" ] || { echo "metainfo names $name, which $shots lacks"; exit 1; }
  read -r w h < <(od -An -tu1 -j16 -N8 "$file" |
    awk '{print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8}')
  [ "$w x $h" = "$width x $height" ] ||
    { echo "$name: metainfo says $width x $height, the image is $w x $h"; exit 1; }
  found=$((found + 1))
done < <(sed -n 's|.*<image [^>]*width="\([0-9]*\)" height="\([0-9]*\)">[^<]*/\([^/<]*\)</image>.*|\1 \2 \3|p' "$metainfo")
[ "$found" -gt 0 ] || { echo "no screenshot found in $metainfo"; exit 1; }
echo "metainfo screenshots: $found, sizes as declared"
