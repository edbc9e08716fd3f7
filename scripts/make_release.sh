#!/usr/bin/env bash
# Builds the Windows programs (preset "windows", unless --build-dir names a
# configured Windows build) and packs them for users:
#   dist/lodestar-<version>/      lodestar.exe skyprobe.exe lodestar.ini README.txt
#                                 LICENSE THIRD-PARTY-NOTICES.txt
#   dist/lodestar-<version>.zip   that folder
#   dist/lodestar-<version>.msi   the Windows Installer package (packaging/)
#   dist/winget/                  the winget manifest of the package
# The version is --version, else the project's CMake version, else git describe.
# The simulated receiver (sensorsim.dll) is for tests only and never shipped.
#
# --sign signs both programs before they are packed, then the package
# (Authenticode, SHA-256), with the key of a PKCS#12 file (--pfx FILE, its
# password in the environment variable LODESTAR_SIGN_PASSWORD) or of a PKCS#11
# token (--pkcs11-module LIB --pkcs11-key URI [--pkcs11-cert URI], the PIN in
# LODESTAR_SIGN_PASSWORD if the token needs one); --timestamp URL adds an
# RFC 3161 time stamp. --url URL is where the package will be downloaded from.
set -euo pipefail

usage() {
  cat >&2 <<'USAGE'
usage: scripts/make_release.sh [--build-dir DIR] [--version VERSION] [--dist DIR] [--url URL]
         [--sign (--pfx FILE | --pkcs11-module LIB --pkcs11-key URI [--pkcs11-cert URI])
                 [--timestamp URL]]
USAGE
  exit 2
}

build_dir=""
version=""
dist=""
url=""
sign=false pfx="" pkcs11_module="" pkcs11_key="" pkcs11_cert="" timestamp=""
while [ $# -gt 0 ]; do
  option=$1
  case $option in
    --sign) sign=true; shift; continue ;;
    --build-dir | --version | --dist | --url | --pfx | --pkcs11-module | --pkcs11-key | --pkcs11-cert | --timestamp)
      [ $# -ge 2 ] || usage
      value=$2; shift 2 ;;
    *) usage ;;
  esac
  case $option in
    --build-dir) build_dir=$value ;;
    --version) version=$value ;;
    --dist) dist=$value ;;
    --url) url=$value ;;
    --pfx) pfx=$value ;;
    --pkcs11-module) pkcs11_module=$value ;;
    --pkcs11-key) pkcs11_key=$value ;;
    --pkcs11-cert) pkcs11_cert=$value ;;
    --timestamp) timestamp=$value ;;
  esac
done

# Paths given are the caller's; the script works from the source tree.
[ -z "$pfx" ] || pfx=$(realpath -m -- "$pfx")
[ -z "$build_dir" ] || build_dir=$(realpath -m -- "$build_dir")
[ -z "$dist" ] || dist=$(realpath -m -- "$dist")
cd "$(dirname "$0")/.."
dist=${dist:-dist}

fail() { echo "$1: $2" >&2; exit 1; }

if $sign; then
  command -v osslsigncode >/dev/null || fail osslsigncode "not found: install the Debian package osslsigncode"
  if [ -n "$pfx" ]; then
    [ -z "$pkcs11_module$pkcs11_key" ] || fail --sign "give either --pfx or the PKCS#11 options, not both"
    [ -r "$pfx" ] || fail "$pfx" "cannot read the PKCS#12 file"
    [ -n "${LODESTAR_SIGN_PASSWORD+set}" ] || fail --pfx "set LODESTAR_SIGN_PASSWORD to the file's password"
    key_options=(-pkcs12 "$pfx")
  elif [ -n "$pkcs11_module" ] && [ -n "$pkcs11_key" ]; then
    key_options=(-pkcs11module "$pkcs11_module" -key "$pkcs11_key" -pkcs11cert "${pkcs11_cert:-$pkcs11_key}")
  else
    fail --sign "needs --pfx FILE, or --pkcs11-module LIB and --pkcs11-key URI"
  fi
  sign_options=(-h sha256 -n Lodestar)
  [ -z "$timestamp" ] || sign_options+=(-ts "$timestamp")
elif [ -n "$pfx$pkcs11_module$pkcs11_key$pkcs11_cert$timestamp" ]; then
  fail --sign "the signing options need --sign"
fi

# Signs FILE in place. The password goes to osslsigncode on its standard
# input, never on a command line where the process list would show it.
sign_file() {
  local file=$1 signed=$1.signed
  rm -f "$signed"
  if [ -n "${LODESTAR_SIGN_PASSWORD+set}" ]; then
    printf '%s' "$LODESTAR_SIGN_PASSWORD" |
      osslsigncode sign "${key_options[@]}" -readpass - "${sign_options[@]}" -in "$file" -out "$signed" >/dev/null
  else
    osslsigncode sign "${key_options[@]}" "${sign_options[@]}" -in "$file" -out "$signed" >/dev/null
  fi || { rm -f "$signed"; fail "$file" "signing failed"; }
  mv "$signed" "$file"
}

if [ -z "$build_dir" ]; then
  build_dir=build/windows
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
stage=$dist/$name
rm -rf "$stage" "$dist/$name.zip" "$dist/$name.msi" "$dist/winget"
mkdir -p "$stage"
cp "$build_dir/tray/lodestar.exe" "$build_dir/probe/skyprobe.exe" "$stage/"

# Without the symbols and debug information of the static runtime libraries;
# and they must run on a stock Windows 7 or later: no MinGW runtime DLLs.
objdump=x86_64-w64-mingw32-objdump
project_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
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
  if $sign; then sign_file "$exe"; fi
done
$sign || echo "Not signed: lodestar.exe, skyprobe.exe and the package carry no signature (--sign signs them)."

# Text files for Notepad: CRLF line ends.
sed 's/$/\r/' scripts/release/lodestar.ini >"$stage/lodestar.ini"
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' scripts/release/README.txt >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE"
sed 's/$/\r/' THIRD-PARTY-NOTICES.txt >"$stage/THIRD-PARTY-NOTICES.txt"

if find "$dist" -iname 'sensorsim*' | grep -q .; then
  echo "sensorsim.dll must never be shipped" >&2
  exit 1
fi

if command -v zip >/dev/null; then
  (cd "$dist" && zip -q -r -X "$name.zip" "$name")
else
  (cd "$dist" && cmake -E tar cf "$name.zip" --format=zip "$name")
fi

packaging/build_msi.sh "$stage" "$version" "$dist/$name.msi"
if $sign; then sign_file "$dist/$name.msi"; fi
if [ -z "$url" ]; then
  url=https://example.invalid/$name.msi
  echo "The winget manifest's download address is a placeholder: give --url URL."
fi
packaging/winget_manifest.sh "$dist/$name.msi" "$url" "$dist/winget"

echo "$dist/$name.zip, $dist/$name.msi:"
for file in "$stage"/* "$dist/$name.msi"; do
  printf '  %-24s %9d bytes\n' "$(basename "$file")" "$(stat -c %s "$file")"
done
echo "$dist/winget/: $(cd "$dist/winget" && echo *)"
