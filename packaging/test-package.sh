#!/usr/bin/env bash
# Builds the Debian package in a build directory of its own (prefix /usr),
# unpacks it into a scratch root and checks that every file is in place, that
# the package declares its library dependencies, that the program is stripped
# and hardened, and that lintian --pedantic finds nothing to report.
set -euo pipefail
src=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
# With make, CMake's default generator, as a packager's plain cmake does.
cmake -S "$src" -B "$work/build" -G "Unix Makefiles" -DCMAKE_INSTALL_PREFIX=/usr \
  -DREADER_CONFIG_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" --parallel "$(nproc)" >/dev/null
(cd "$work/build" && cpack -G DEB >/dev/null)
deb=$(ls "$work"/build/reader-config_*.deb)
dpkg-deb -x "$deb" "$work/root"
fail() { echo "$*"; exit 1; }
id=io.github.reader_config.ReaderConfig
for f in usr/bin/reader-config \
         usr/lib/reader-config/reader-config-window \
         lib/udev/rules.d/70-reader-config.rules \
         lib/udev/reader-config-udev-probe \
         usr/share/applications/$id.desktop \
         usr/share/metainfo/$id.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/$id.svg \
         usr/share/icons/hicolor/48x48/apps/$id.png \
         usr/share/icons/hicolor/256x256/apps/$id.png \
         usr/share/man/man1/reader-config.1.gz \
         usr/share/bash-completion/completions/reader-config \
         usr/share/zsh/vendor-completions/_reader-config \
         usr/share/fish/vendor_completions.d/reader-config.fish \
         usr/share/doc/reader-config/copyright \
         usr/share/doc/reader-config/changelog.gz; do
  [ -e "$work/root/$f" ] || { dpkg-deb -c "$deb"; fail "missing in package: $f"; }
done

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libhidapi-hidraw0 libudev1; do
  echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
done
# The X11 platform plugin is part of libqt6gui6.
echo "$depends" | grep -q qt6-qpa-plugins && fail "Depends names qt6-qpa-plugins: $depends"
recommends=$(dpkg-deb -f "$deb" Recommends)
for want in qt6-wayland qt6-translations-l10n "fonts-wqy-zenhei | fonts-noto-cjk"; do
  grep -qF "$want" <<<"$recommends" || fail "Recommends lacks $want: $recommends"
done

version=$(dpkg-deb -f "$deb" Version)
changelog_version=$(zcat "$work/root/usr/share/doc/reader-config/changelog.gz" |
  dpkg-parsechangelog -l- -SVersion)
[ "$changelog_version" = "$version" ] || fail "changelog is at $changelog_version, package at $version"
grep -q "<release version=\"$version\"" "$work/root/usr/share/metainfo/$id.metainfo.xml" ||
  fail "metainfo has no release $version"

program=$work/root/usr/bin/reader-config
window=$work/root/usr/lib/reader-config/reader-config-window
probe=$work/root/lib/udev/reader-config-udev-probe
# (grep reads each listing whole: pipefail would count an early exit.)
for p in "$program" "$window" "$probe"; do
  name=$(basename "$p")
  grep -q '\.symtab' <<<"$(readelf -S "$p")" && fail "$name is not stripped"
  grep -q 'BIND_NOW' <<<"$(readelf -d "$p")" || fail "$name is not linked with -z now"
  grep -q 'GNU_RELRO' <<<"$(readelf -l "$p")" || fail "$name has no RELRO segment"
  grep -q '__[a-z]*_chk@' <<<"$(readelf -W --dyn-syms "$p")" ||
    fail "$name calls no fortified functions"
done
# The commands load no window libraries.
grep -q 'libQt6' <<<"$(readelf -d "$program")" && fail "reader-config links Qt"

# The maintainer scripts apply the udev rule to readers already plugged in.
mkdir -p "$work/control"
dpkg-deb -e "$deb" "$work/control"
for script in postinst postrm; do
  grep -q 'udevadm trigger --subsystem-match=hidraw' "$work/control/$script" ||
    fail "$script does not trigger the hidraw subsystem"
  sh -n "$work/control/$script"
done

# Every lintian tag counts, the pedantic and informational ones included.
if ! tags=$(lintian --pedantic --info --fail-on error,warning,info,pedantic "$deb" 2>&1); then
  echo "$tags"
  fail "lintian --pedantic reports the tags above"
fi

"$program" --version
echo "package ok: $(basename "$deb") ($(du -k "$program" | cut -f1) KiB commands, $(du -k "$window" | cut -f1) KiB window)"
