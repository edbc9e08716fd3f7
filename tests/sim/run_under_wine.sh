#!/bin/sh
# Registers sensorsim.dll for the sensor manager and Location class ids in a
# throw-away Wine prefix, and runs the Wine client against it with a Unix
# scenario path in SENSORSIM_SCENARIO.
# Usage: run_under_wine.sh WINE SENSORSIM_DLL CLIENT_EXE
set -eu
wine=$1
dll=$2
client=$3

command -v "$wine" >/dev/null 2>&1 || { echo "FAIL: $wine not found: install the Debian package wine" >&2; exit 1; }
command -v wineserver >/dev/null 2>&1 || { echo "FAIL: wineserver not found: install the Debian package wine" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/sensorsim-wine.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# The prefix is complete only once every process of its set-up has ended;
# keys added before that may be lost.
"$wine" wineboot --init >/dev/null 2>&1
wineserver -w

cp "$dll" "$work/sensorsim.dll"
for clsid in '{77A1C827-FCD2-4689-8915-9D613CC5FA3E}' '{E5B8E079-EE6D-4E33-A438-C87F2E959254}'; do
    key="HKCR\\CLSID\\$clsid\\InprocServer32"
    "$wine" reg add "$key" /ve /d "$(windows_path "$work/sensorsim.dll")" /f >/dev/null
    "$wine" reg add "$key" /v ThreadingModel /d Both /f >/dev/null
done
wineserver -w

SENSORSIM_SCENARIO="$work/scenario.ini" "$wine" "$client" "$(windows_path "$work/scenario.ini")"
