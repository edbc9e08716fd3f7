#!/bin/bash
# skyprobe.exe --wait under Wine, the simulated receiver's events arriving
# through the thread timer that skyprobe's wait dispatches:
#   skyprobe_wait_test.sh RUN_DIR SKYPROBE_EXE
# A receiver that gets its fix while skyprobe waits is reported ready with
# exit code 0, long before the limit; one that never does is reported when
# the time is up, with exit code 1.
set -u
. "$(dirname "$0")/wine_common.sh"

run_dir=$1 probe=$2
require_wine
require_program /usr/bin/python3 python3 "to read the JSON"
require_file "$probe" "build the Windows build's skyprobe target first"
use_run_prefix "$run_dir"

work=$(mktemp -d) || fail "cannot create a temporary directory"
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY

receiver() {
    printf '[sensor1]\nid = {637D3E4B-20DA-4318-B6FC-A100FD003A83}\nname = Test GPS\ntype = gps\n%s' "$1"
}
receiver 'state = 3
' >"$work/scenario.ini"
export SENSORSIM_SCENARIO
SENSORSIM_SCENARIO=$(windows_path "$work/scenario.ini")

status=0
wine "$probe" --wait 60 >"$work/raw" 2>"$work/errors" &
probe_pid=$!
sleep 2
receiver 'state = 0
latitude = 35.5
longitude = 139.5
' >"$work/scenario.new"
mv "$work/scenario.new" "$work/scenario.ini"
wait "$probe_pid"
exit_code=$?
tr -d '\r' <"$work/raw" >"$work/actual"
[ "$exit_code" = 0 ] || { echo "FAIL: exit code $exit_code after the fix, expected 0" >&2; status=1; }
first=$(head -n 1 "$work/actual")
if [[ $first =~ ^Waited\ ([0-9]+)\.[0-9]{3}\ s:\ a\ location\ sensor\ is\ ready$ ]]; then
    [ "${BASH_REMATCH[1]}" -lt 20 ] || { echo "FAIL: waited until near the limit: $first" >&2; status=1; }
else
    echo "FAIL: first line: $first" >&2
    status=1
fi
grep -qx 'Sensor status: SENSOR_STATE_READY' "$work/actual" || { echo "FAIL: not reported ready" >&2; status=1; }

receiver 'state = 3
' >"$work/scenario.ini"
wine "$probe" --json --wait 1 >"$work/json" 2>>"$work/errors"
exit_code=$?
/usr/bin/python3 - "$work/json" "$exit_code" <<'PY' || status=1
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
wait = report["wait"]
if int(sys.argv[2]) != 1 or report["exit_code"] != 1 or wait["ready"] or not 1.0 <= wait["seconds"] < 5.0:
    sys.exit(f"FAIL: a wait that runs out: exit code {sys.argv[2]}, {report['exit_code']}, {wait}")
if report["sensors"][0]["state"] != "SENSOR_STATE_INITIALIZING":
    sys.exit("FAIL: the sensor is not reported as it stands")
PY
[ $status -eq 0 ] || { echo "standard output:" >&2; cat "$work/actual" >&2; echo "standard error:" >&2; cat "$work/errors" >&2; }
exit $status
