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
rm -rf "$dist" && mkdir -p "$dist/reader-config"
cp "$exe" LICENSE "$dist/reader-config/"
(cd "$dist" && zip -q -r "reader-config-$version-win64.zip" reader-config)
makensis -V2 -DVERSION="$version" -DEXE="$(realpath "$exe")" -DLICENSE="$PWD/LICENSE" \
  -DOUT="$(realpath "$dist")/reader-config-$version-setup.exe" packaging/windows/installer.nsi
ls -l "$exe" "$dist"/*.zip "$dist"/*.exe
