#!/bin/bash
# skyprobe.exe under Wine, its sensorsim.dll reaching a gpsd on this machine
# that replays a recording of a real receiver:
#   skyprobe_gpsd_test.sh RUN_DIR SKYPROBE_EXE REPLAY_SCRIPT LOG
# skyprobe must report the receiver with one of the positions gpsd decoded
# from the recording (LOG.chk) and exit 0.
set -u
. "$(dirname "$0")/wine_common.sh"

run_dir=$1 probe=$2 replay=$3 log=$4
if [ -z "${GPSD_REPLAY_SERVER:-}" ]; then
    require_wine
    require_program gpsd gpsd "to replay recordings"
    require_program /usr/bin/python3 python3 "to replay recordings"
    require_file "$probe" "build the Windows build's skyprobe target first"
    require_file "$log" "the recording"
    exec /usr/bin/python3 "$replay" --speed 4 "$log" bash "$0" "$@"
fi
use_run_prefix "$run_dir"

work=$(mktemp -d) || fail "cannot create a temporary directory"
trap 'rm -rf "$work"' EXIT
printf '[gpsd]\nserver = %s\n' "$GPSD_REPLAY_SERVER" >"$work/gpsd.ini"
unset DISPLAY WAYLAND_DISPLAY
# gpsd needs a moment to recognise the receiver and decode a fix.
for _ in 1 2 3 4 5 6 7 8 9 10; do
    SENSORSIM_SCENARIO=$(windows_path "$work/gpsd.ini") wine "$probe" >"$work/raw" 2>"$work/errors"
    exit_code=$?
    tr -d '\r' <"$work/raw" >"$work/actual"
    grep -q '^SENSOR_DATA_TYPE_LATITUDE_DEGREES' "$work/actual" && break
    sleep 0.5
done

status=0
grep -qx "Location Sensor name: NMEA0183 $GPSD_REPLAY_DEVICE" "$work/actual" || {
    echo "FAIL: the receiver $GPSD_REPLAY_DEVICE is not reported" >&2
    status=1
}
/usr/bin/python3 - "$log.chk" "$work/actual" <<'PY' || status=1
import json, re, sys
positions = set()
for line in open(sys.argv[1], errors="replace"):
    try:
        report = json.loads(line)
    except ValueError:
        continue
    if report.get("class") == "TPV" and report.get("mode", 0) >= 2 and "lat" in report:
        positions.add(("%f" % report["lat"], "%f" % report["lon"]))
out = open(sys.argv[2]).read()
lat = re.search(r"^SENSOR_DATA_TYPE_LATITUDE_DEGREES : (\S+)$", out, re.M)
lon = re.search(r"^SENSOR_DATA_TYPE_LONGITUDE_DEGREES: (\S+)$", out, re.M)
shown = (lat.group(1), lon.group(1)) if lat and lon else None
if shown not in positions:
    sys.exit(f"FAIL: skyprobe.exe printed the position {shown}, not one of the recording's")
if f"latitude,longitude : {shown[0]}, {shown[1]}" not in out:
    sys.exit("FAIL: the Location API does not serve the receiver")
PY
if [ "$exit_code" != 0 ]; then
    echo "FAIL: exit code $exit_code, expected 0" >&2
    status=1
fi
[ $status -eq 0 ] || { echo "output:" >&2; cat "$work/actual" >&2; echo "standard error:" >&2; cat "$work/errors" >&2; }
exit $status
