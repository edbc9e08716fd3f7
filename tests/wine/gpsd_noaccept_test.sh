#!/bin/bash
# sensorsim.dll under Wine with a gpsd that never accepts the connection
# (tests/gpsd/hostile_gpsd.py noaccept):
#   gpsd_noaccept_test.sh RUN_DIR SKYPROBE_EXE UNLOAD_CHECK_EXE HOSTILE_GPSD
# skyprobe.exe waits about a second for gpsd and ends normally, saying "no
# answer"; unload_under_worker.exe leaves COM, which unloads the servers it
# may, while sensorsim.dll's worker still waits for the connection, and runs
# on: the DLL must stay loaded under its worker.
set -u
. "$(dirname "$0")/wine_common.sh"

run_dir=$1 probe=$2 unload_check=$3 hostile=$4
require_wine
require_program /usr/bin/python3 python3 "to play a hostile gpsd"
require_file "$probe" "build the Windows build's skyprobe target first"
require_file "$unload_check" "build the Windows build's unload_under_worker target first"
use_run_prefix "$run_dir"
unset DISPLAY WAYLAND_DISPLAY

work=$(mktemp -d) || fail "cannot create a temporary directory"
gpsd_pid=""
server_kept=""
trap '[ -n "$gpsd_pid" ] && kill "$gpsd_pid"; [ -n "$server_kept" ] && wineserver -k; rm -rf "$work"' EXIT
/usr/bin/python3 -u "$hostile" noaccept >"$work/gpsd.out" 2>&1 &
gpsd_pid=$!
for _ in $(seq 50); do
    server=$(sed -n 's/^hostile gpsd (noaccept) on //p' "$work/gpsd.out")
    [ -n "$server" ] && break
    sleep 0.1
done
[ -n "$server" ] || fail "the hostile gpsd did not start: $(cat "$work/gpsd.out")"
printf '[sensor1]\nid = {637d3e4b-20da-4318-b6fc-a100fd003a83}\n' >"$work/none.ini"
printf '[gpsd]\nserver = %s\n' "$server" >"$work/gpsd.ini"

# Milliseconds skyprobe.exe takes on the scenario; its output in work/out,
# work/err, its exit code in work/code.
run_probe() {
    local started=$(date +%s%N)
    SENSORSIM_SCENARIO=$(windows_path "$work/$1") wine "$probe" >"$work/out" 2>"$work/err"
    echo $? >"$work/code"
    echo $((($(date +%s%N) - started) / 1000000))
}

# The fastest of three runs each: a busy machine slows single runs by
# seconds, while a real wait (a second object waiting again, an exit that
# waits for the worker) slows every run.
fastest() {
    local best="" ms
    for _ in 1 2 3; do
        ms=$(run_probe "$1")
        [ -z "$best" ] || [ "$ms" -lt "$best" ] && best=$ms
    done
    echo "$best"
}

# Wine ends the prefix's server as its last program ends, and starting it
# again costs seconds: while this test times runs, the server stays, and it
# ends with the test.
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
server_kept=1
run_probe none.ini >/dev/null  # Wine's own start-up out of the way
without=$(fastest none.ini)
with=$(fastest gpsd.ini)
status=0
exit_code=$(cat "$work/code")
[ "$exit_code" = 0 ] || { echo "FAIL: exit code $exit_code" >&2; status=1; }
[ "$(grep -c . "$work/err")" = 1 ] && grep -q "gpsd at $server: no answer" "$work/err" ||
    { echo "FAIL: standard error is not one line saying 'no answer':" >&2; cat "$work/err" >&2; status=1; }
[ $((with - without)) -lt 1600 ] ||
    { echo "FAIL: skyprobe.exe took $with ms, $without ms without a gpsd" >&2; status=1; }
echo "skyprobe.exe: $with ms with a gpsd that never accepts, $without ms without one"

SENSORSIM_SCENARIO=$(windows_path "$work/gpsd.ini") wine "$unload_check" >"$work/out" 2>&1
exit_code=$?
[ "$exit_code" = 0 ] && ! grep -q "Unhandled" "$work/out" || {
    echo "FAIL: unload_under_worker.exe ended with $exit_code after leaving COM:" >&2
    cat "$work/out" >&2
    status=1
}
exit $status
