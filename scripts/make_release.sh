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
# and they must run on a stock Windows 7 or later: no MinGW runtime DLLs.
objdump=x86_64-w64-mingw32-objdump
project_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
fail() { echo "$1: $2" >&2; exit 1; }
for exe in "$stage"/*.exe; do
  x86_64-w64-mingw32-strip "$exe"
  headers=$($objdump -p "$exe")
  foreign=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | grep -i -E '^lib|mingw' || true)
  [ -z "$foreign" ] || fail "$exe" "needs $foreign: link it statically"
  for field in MajorSubsystemVersion:6 MinorSubsystemVersion:1 MajorOSystemVersion:6 MinorOSystemVersion:1; do
    grep -q -E "^${field%:*}\s+${field#*:}\$" <<<"$headers" || fail "$exe" "${field%:*} is not ${field#*:}"
  done
  dll_characteristics=$(sed -n 's/^DllCharacteristics\s*//p' <<<"$headers")
  (( 0x$dll_characteristics & 0x8000 )) || fail "$exe" "not marked terminal-server aware"

  # The application manifest, stored as plain text among the resources.
  manifest=$(LC_ALL=C sed -n '/<assembly /,/<\/assembly>/p' "$exe" | tr -d '\0')
  for setting in '<dpiAware [^>]*>true</dpiAware>' '<dpiAwareness [^>]*>PerMonitorV2</dpiAwareness>' \
                 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' 'level="asInvoker"' \
                 '35138b9a-5d96-4fbd-8e2d-a2440225f93a' '4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38' \
                 '1f676c76-80e1-4239-95bb-83d0f6d0da78' '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a'; do
    grep -q -e "$setting" <<<"$manifest" || fail "$exe" "the manifest lacks $setting"
  done
  if grep -q activeCodePage <<<"$manifest"; then fail "$exe" "the manifest changes the code page"; fi

  resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc)
  for field in FileVersion ProductVersion; do
    value=$(sed -n "s/^\s*VALUE \"$field\", \"\(.*\)\"\$/\1/p" <<<"$resources")
    [ "$value" = "$project_version" ] || fail "$exe" "$field is '$value', the project's version is $project_version"
  done
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
