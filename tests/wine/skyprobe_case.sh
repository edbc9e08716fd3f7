#!/bin/bash
# Runs skyprobe.exe under Wine on one golden scenario and compares:
#   skyprobe_case.sh RUN_DIR SKYPROBE_EXE GOLDEN_DIR CASE WINDOWS_OUTPUT_DIR
# GOLDEN_DIR/CASE.ini is the scenario, CASE.out (LF line ends) and CASE.exit
# the expected output and exit code. Windows writes CRLF, read here as LF,
# and writes names in code page 932 (skyprobe selects the "Japanese" locale),
# read here as UTF-8. Where that differs from the golden file (a letter
# without a code page 932 form), WINDOWS_OUTPUT_DIR/CASE.out holds what
# Windows prints instead.
set -u
. "$(dirname "$0")/wine_common.sh"

run_dir=$1 probe=$2 golden_dir=$3 case=$4 windows_dir=$5
require_wine
require_program iconv libc-bin "to read skyprobe's code page 932 output"
require_file "$probe" "build the Windows build's skyprobe target first"
use_run_prefix "$run_dir"
golden_dir=$(absolute_path "$golden_dir")

expected=$golden_dir/$case.out
[ -f "$windows_dir/$case.out" ] && expected=$windows_dir/$case.out
require_file "$expected" "expected output of $case"
require_file "$golden_dir/$case.exit" "expected exit code of $case"

work=$(mktemp -d) || fail "cannot create a temporary directory"
trap 'rm -rf "$work"' EXIT
# A console program needs no display.
unset DISPLAY WAYLAND_DISPLAY
SENSORSIM_SCENARIO=$(windows_path "$golden_dir/$case.ini") wine "$probe" >"$work/raw" 2>"$work/errors"
exit_code=$?
tr -d '\r' <"$work/raw" | iconv -f CP932 -t UTF-8 >"$work/actual" || fail "output is not code page 932 text"

status=0
if ! diff -u "$expected" "$work/actual"; then
    echo "FAIL: output differs from $expected" >&2
    status=1
fi
expected_exit=$(tr -d ' \r\n' <"$golden_dir/$case.exit")
if [ "$exit_code" != "$expected_exit" ]; then
    echo "FAIL: exit code $exit_code, expected $expected_exit" >&2
    status=1
fi
[ $status -eq 0 ] || { echo "standard error:" >&2; cat "$work/errors" >&2; }
exit $status
