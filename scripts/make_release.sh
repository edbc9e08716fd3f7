#!/usr/bin/env bash
# Builds the Windows programs (preset "windows", unless --build-dir names a
# configured Windows build) and packs them for users:
#   dist/lodestar-<version>/  lodestar.exe skyprobe.exe lodestar.ini README.txt
#   dist/lodestar-<version>.zip
# The version is --version, else the project's CMake version, else git describe.
# The simulated receiver (sensorsim.dll) is for tests only and never shipped.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build/windows
version=""
while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) build_dir=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    *) echo "usage: scripts/make_release.sh [--build-dir DIR] [--version VERSION]" >&2; exit 2 ;;
  esac
done

if [ "$build_dir" = build/windows ]; then
  [ -f build/windows/CMakeCache.txt ] || cmake --preset windows >/dev/null
  cmake --build --preset windows --target lodestar skyprobe
else
  grep -q '^CMAKE_TOOLCHAIN_FILE:.*mingw' "$build_dir/CMakeCache.txt" 2>/dev/null ||
    { echo "$build_dir is not a configured Windows build" >&2; exit 1; }
  cmake --build "$build_dir" --target lodestar skyprobe
fi

if [ -z "$version" ]; then
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
fi
[ -n "$version" ] || version=$(git describe --tags --always --dirty 2>/dev/null || echo dev)

name=lodestar-$version
stage=dist/$name
rm -rf "$stage" "dist/$name.zip"
mkdir -p "$stage"
cp "$build_dir/tray/lodestar.exe" "$build_dir/probe/skyprobe.exe" "$stage/"

# Without the symbols and debug information of the static runtime libraries;
# and they must run on a stock Windows: no MinGW runtime DLLs.
objdump=x86_64-w64-mingw32-objdump
for exe in "$stage"/*.exe; do
  x86_64-w64-mingw32-strip "$exe"
  foreign=$($objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | grep -i -E '^lib|mingw' || true)
  [ -z "$foreign" ] || { echo "$exe needs $foreign: link it statically" >&2; exit 1; }
done

# Text files for Notepad: CRLF line ends.
sed 's/$/\r/' scripts/release/lodestar.ini >"$stage/lodestar.ini"
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' scripts/release/README.txt >"$stage/README.txt"

if find dist -iname 'sensorsim*' | grep -q .; then
  echo "sensorsim.dll must never be shipped" >&2
  exit 1
fi

if command -v zip >/dev/null; then
  (cd dist && zip -q -r -X "$name.zip" "$name")
else
  (cd dist && cmake -E tar cf "$name.zip" --format=zip "$name")
fi

echo "dist/$name.zip:"
for file in "$stage"/*; do
  printf '  %-14s %9d bytes\n' "$(basename "$file")" "$(stat -c %s "$file")"
done
