#!/bin/bash
# lodestar.exe in a Wine desktop, driven as the user would drive it:
#   lodestar_tray_test.sh RUN_DIR LODESTAR_EXE TRAY_USER_EXE SCENARIO MAP_URL
# a second copy ends at once, Enter and Space leave the hidden dialog alone,
# a single left click does nothing, a left double-click opens MAP_URL, the
# Exit command ends the program, and the settings file lists the sensors.
set -u
. "$(dirname "$0")/wine_common.sh"
run_under_xvfb "$0" "$@"
. "$(dirname "$0")/lodestar_harness.sh"

run_dir=$1 LODESTAR_EXE=$2 TRAY_USER_EXE=$3 scenario=$4 map_url=$5
require_wine
require_file "$LODESTAR_EXE" "build the Windows build's lodestar target first"
require_file "$TRAY_USER_EXE" "build the Windows build's tray_user target first"
require_file "$scenario" "the scenario of this test"
use_run_prefix "$run_dir"
LODESTAR_EXE=$(absolute_path "$LODESTAR_EXE") TRAY_USER_EXE=$(absolute_path "$TRAY_USER_EXE")
scenario=$(absolute_path "$scenario")

WORK=$(mktemp -d) || fail "cannot create a temporary directory"
DESKTOP=lodestar-tray-$$
trap finish_case EXIT

start_lodestar "$scenario"
tray_user --timeout 60000 find hidden || fail "lodestar's dialog did not appear hidden"
first=$LAST_PROCESS

tray_user --timeout 30000 run "$(windows_path "$WORK/app/lodestar.exe")" find ||
    fail "a second lodestar.exe did not end at once"
[ "$LAST_PROCESS" = "$first" ] || fail "the first lodestar (process $first) did not survive the second"

tray_user key return key space sleep 500 find || fail "Enter or Space ended the dialog"
[ "$LAST_PROCESS" = "$first" ] || fail "the first lodestar (process $first) ended after Enter and Space"

tray_user lclick sleep 1500 find || fail "lodestar ended after a single left click"
[ -z "$(recorded_urls)" ] || fail "a single left click opened: $(recorded_urls)"

tray_user lclick-double || fail "could not double-click"
wait_for_url 30
urls=$(recorded_urls)
[ "$urls" = "$map_url" ] || fail "the double-click opened [$urls], expected [$map_url]"

tray_user command 32772 wait-gone || fail "the Exit command did not end lodestar"
check_settings "$scenario" "{637d3e4b-20da-4318-b6fc-a100fd003a83}"
echo "PASS"
