#!/bin/bash
# A session end while lodestar.exe runs leaves a complete settings file:
#   lodestar_session_end_test.sh RUN_DIR LODESTAR_EXE TRAY_USER_EXE SCENARIO
# wineboot --end-session, run in lodestar's own desktop, sends the end-session
# messages and then ends the process, as logging off does.
set -u
. "$(dirname "$0")/wine_common.sh"
run_under_xvfb "$0" "$@"
. "$(dirname "$0")/lodestar_harness.sh"

run_dir=$1 LODESTAR_EXE=$2 TRAY_USER_EXE=$3 scenario=$4
require_wine
require_file "$LODESTAR_EXE" "build the Windows build's lodestar target first"
require_file "$TRAY_USER_EXE" "build the Windows build's tray_user target first"
require_file "$scenario" "the scenario of this test"
use_run_prefix "$run_dir"
LODESTAR_EXE=$(absolute_path "$LODESTAR_EXE") TRAY_USER_EXE=$(absolute_path "$TRAY_USER_EXE")
scenario=$(absolute_path "$scenario")

WORK=$(mktemp -d) || fail "cannot create a temporary directory"
DESKTOP=lodestar-session-$$
trap finish_case EXIT

start_lodestar "$scenario"
tray_user --timeout 20000 find || fail "lodestar's dialog did not appear"
pid=$(lodestar_unix_pid)
[ -n "$pid" ] || fail "cannot find the Unix process of lodestar.exe"
[ -e "$WORK/app/lodestar.ini" ] && fail "lodestar.ini was written before the session ended"

echo "[${SECONDS}s] session end"
wine explorer "/desktop=$DESKTOP,800x600" wineboot.exe --end-session >>"$WORK/desktop.log" 2>&1
for ((tenths = 0; tenths < 300; tenths++)); do
    process_alive "$pid" || break
    sleep 0.1
done
process_alive "$pid" && fail "lodestar.exe still runs 30 s after the session end"
LAST_PROCESS=""
check_settings "$scenario" "{637d3e4b-20da-4318-b6fc-a100fd003a83}"
echo "PASS"
