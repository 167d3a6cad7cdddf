#!/usr/bin/env bash
# Cross-builds reader-config.exe for 64-bit Windows with mingw-w64 in
# build-windows/ (or $BUILD_DIR) and packs it: reader-config-<version>-win64.zip
# and, with NSIS, the installer reader-config-<version>-setup.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-windows-deps.sh
BUILD_DIR=${BUILD_DIR:-build-windows}
cmake -S . -B "$BUILD_DIR" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$BUILD_DIR"

exe="$BUILD_DIR/reader-config.exe"
x86_64-w64-mingw32-strip "$exe"
# Runs on its own: no DLL beyond those every Windows has.
if x86_64-w64-mingw32-objdump -p "$exe" | grep -iE 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
  echo "build-windows: $exe needs the compiler's runtime DLLs" >&2
  exit 1
fi

version=$(sed -n 's/^project(reader-config VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist="$BUILD_DIR/dist"
rm -rf "$dist" && mkdir -p "$dist/reader-config/licenses"
# Text files with CR LF line ends and a name Windows opens: the tool's
# licence, and the notices of what the exe carries from others, as Debian
# ships them: the mingw-w64 runtime with winpthreads, GCC's runtime
# (libstdc++, libgcc, libssp), and nlohmann-json, compiled in.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }
cp "$exe" "$dist/reader-config/"
crlf LICENSE "$dist/reader-config/LICENSE.txt"
crlf /usr/share/doc/mingw-w64-x86-64-dev/copyright "$dist/reader-config/licenses/mingw-w64-runtime-and-winpthreads.txt"
crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$dist/reader-config/licenses/gcc-runtime.txt"
crlf /usr/share/doc/nlohmann-json3-dev/copyright "$dist/reader-config/licenses/nlohmann-json.txt"
(cd "$dist" && zip -q -r "reader-config-$version-win64.zip" reader-config)
makensis -V2 -DVERSION="$version" -DFILES="$(realpath "$dist/reader-config")" \
  -DOUT="$(realpath "$dist")/reader-config-$version-setup.exe" packaging/windows/installer.nsi
ls -l "$exe" "$dist"/*.zip "$dist"/*.exe
