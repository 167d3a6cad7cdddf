#!/usr/bin/env bash
# Builds the Debian package in a build directory of its own (prefix /usr),
# unpacks it into a scratch root and checks that every file is in place and
# that the package declares its library dependencies.
set -euo pipefail
src=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_INSTALL_PREFIX=/usr \
  -DREADER_CONFIG_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" >/dev/null
(cd "$work/build" && cpack -G DEB >/dev/null)
deb=$(ls "$work"/build/reader-config_*.deb)
dpkg-deb -x "$deb" "$work/root"
id=io.github.reader_config.ReaderConfig
for f in usr/bin/reader-config \
         usr/lib/udev/rules.d/70-reader-config.rules \
         usr/share/applications/$id.desktop \
         usr/share/metainfo/$id.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/$id.svg \
         usr/share/icons/hicolor/48x48/apps/$id.png \
         usr/share/icons/hicolor/256x256/apps/$id.png; do
  [ -e "$work/root/$f" ] || { echo "missing in package: $f"; dpkg-deb -c "$deb"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libhidapi-hidraw0 libudev1; do
  echo "$depends" | grep -q "$lib" || { echo "Depends lacks $lib: $depends"; exit 1; }
done
"$work/root/usr/bin/reader-config" --version
echo "package ok: $(basename "$deb")"
