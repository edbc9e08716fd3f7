#!/bin/sh
# Runs the conformance checks in a throw-away Wine prefix.
# Usage: run_under_wine.sh WINE CHECKS_EXE
set -eu
wine=$1
checks=$2

command -v "$wine" >/dev/null 2>&1 || { echo "FAIL: $wine not found: install the Debian package wine" >&2; exit 1; }
command -v wineserver >/dev/null 2>&1 || { echo "FAIL: wineserver not found: install the Debian package wine" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/conformance-wine.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

"$wine" "$checks"
