#!/bin/bash
# lodestar.exe ended by Escape keeps what the settings file had, then runs
# again once the first copy has gone:
#   lodestar_restart_test.sh RUN_DIR LODESTAR_EXE TRAY_USER_EXE SCENARIO EXAMPLE_INI
# The file starts as the shipped example (comments, a lower-case sensor_id)
# plus a catalog line numbered above the scenario's sensors; all of it
# survives both runs.
set -u
. "$(dirname "$0")/wine_common.sh"
run_under_xvfb "$0" "$@"
. "$(dirname "$0")/lodestar_harness.sh"

run_dir=$1 LODESTAR_EXE=$2 TRAY_USER_EXE=$3 scenario=$4 example=$5
require_wine
require_file "$LODESTAR_EXE" "build the Windows build's lodestar target first"
require_file "$TRAY_USER_EXE" "build the Windows build's tray_user target first"
require_file "$scenario" "the scenario of this test"
require_file "$example" "the example settings file"
use_run_prefix "$run_dir"
LODESTAR_EXE=$(absolute_path "$LODESTAR_EXE") TRAY_USER_EXE=$(absolute_path "$TRAY_USER_EXE")
scenario=$(absolute_path "$scenario")

WORK=$(mktemp -d) || fail "cannot create a temporary directory"
DESKTOP=lodestar-restart-$$
trap finish_case EXIT

sensor_id="{637d3e4b-20da-4318-b6fc-a100fd003a83}"
stale="location_sensor_list9={00000000-0000-0000-0000-000000000009}		;Unplugged Receiver"
mkdir -p "$WORK/app"
{ cat "$example"; echo "$stale"; } | sed 's/$/\r/' >"$WORK/app/lodestar.ini"
comments=$(grep '^;' "$example")
check_comments_kept() {
    [ "$(tr -d '\r' <"$WORK/app/lodestar.ini" | grep '^;')" = "$comments" ] ||
        fail "the example's comments were not kept"
}
grep -qxF "sensor_id=$sensor_id" "$example" || fail "$example does not track $sensor_id"

start_lodestar "$scenario"
tray_user --timeout 60000 find || fail "lodestar's dialog did not appear"
# Escape is not filtered: the dialog's cancel ends the program, which saves.
tray_user key escape wait-gone || fail "Escape did not end lodestar"
check_settings "$scenario" "$sensor_id" "$stale"
check_comments_kept

start_lodestar "$scenario"
tray_user --timeout 60000 find || fail "lodestar did not start again after the first copy ended"
tray_user command 32772 wait-gone || fail "the Exit command did not end the second run"
check_settings "$scenario" "$sensor_id" "$stale"
check_comments_kept
echo "PASS"
