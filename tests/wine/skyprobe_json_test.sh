#!/bin/bash
# skyprobe.exe --json under Wine on every golden scenario:
#   skyprobe_json_test.sh RUN_DIR SKYPROBE_EXE GOLDEN_DIR
# Each output must be one line of UTF-8 JSON whatever the code page of the
# "Japanese" locale, with the exit code the program returns, and every
# sensor's name exactly as the scenario gives it, letters outside code page
# 932 (Hangul, an emoji) and control characters included. "/?" asks for help.
set -u
. "$(dirname "$0")/wine_common.sh"

run_dir=$1 probe=$2 golden_dir=$3
require_wine
require_program /usr/bin/python3 python3 "to read the JSON"
require_file "$probe" "build the Windows build's skyprobe target first"
use_run_prefix "$run_dir"

work=$(mktemp -d) || fail "cannot create a temporary directory"
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY

status=0
for scenario in "$golden_dir"/*.ini; do
    case=$(basename "$scenario" .ini)
    SENSORSIM_SCENARIO=$(windows_path "$(absolute_path "$scenario")") wine "$probe" --json >"$work/$case.json" \
        2>"$work/errors"
    exit_code=$?
    /usr/bin/python3 - "$scenario" "$work/$case.json" "$exit_code" "${scenario%.ini}.exit" <<'PY' || status=1
import json, re, sys
scenario, output, exit_code, expected_exit = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
case = scenario.rsplit("/", 1)[-1]
raw = open(output, "rb").read()
if not raw.endswith(b"\n") or raw.count(b"\n") != 1 or b"\r" in raw or raw.startswith(b"\xef\xbb\xbf"):
    sys.exit(f"FAIL: {case}: not one line of JSON: {raw[:200]!r}")
report = json.loads(raw.decode("utf-8"))
if exit_code != int(open(expected_exit).read()) or report["exit_code"] != exit_code:
    sys.exit(f"FAIL: {case}: exit code {exit_code}, in the JSON {report['exit_code']}")
# The names the scenario gives, by id, for the sensors whose name reads.
sections, current = [], None
for line in open(scenario, encoding="utf-8").read().split("\n"):
    if line.startswith("["):
        current = {}
        sections.append(current)
        continue
    key, sep, value = line.partition("=")
    if current is not None and sep and not line.startswith(";"):
        current[key.strip().lower()] = value.strip(" ")
names = {s["id"].upper(): s.get("name", "") for s in sections if "id" in s and "name" not in s.get("fail", "")}
compared = 0
for sensor in report["sensors"] or []:
    expected = names.get(sensor.get("id"))
    if expected is None:
        continue
    compared += 1
    if sensor["name"] != expected:
        sys.exit(f"FAIL: {case}: name {sensor['name']!r}, the scenario has {expected!r}")
if report["sensors"] and not compared:
    sys.exit(f"FAIL: {case}: no sensor name compared")
PY
done

# Windows' own way to ask for help.
wine "$probe" '/?' >"$work/help" 2>"$work/errors"
exit_code=$?
if [ "$exit_code" != 0 ] || ! head -n 1 "$work/help" | grep -q '^Usage: skyprobe '; then
    echo "FAIL: /? gave exit code $exit_code and: $(head -n 1 "$work/help")" >&2
    status=1
fi
exit $status
