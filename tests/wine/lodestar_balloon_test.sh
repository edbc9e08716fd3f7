#!/bin/bash
# lodestar.exe with [notify] fix=1 and [log] gpx=tracks in a Wine desktop:
#   lodestar_balloon_test.sh RUN_DIR LODESTAR_EXE TRAY_USER_EXE READY_ICO GPX_SCHEMA
# when the receiver gets its fix, a balloon window of explorer's, one that
# was not there before, appears above the icon with lines of text; after
# Exit the track log beside the exe is valid GPX 1.1 holding the position.
set -u
. "$(dirname "$0")/wine_common.sh"
. "$(dirname "$0")/x_screen.sh"
require_x_tools
run_under_xvfb "$0" "$@"
. "$(dirname "$0")/lodestar_harness.sh"

run_dir=$1 LODESTAR_EXE=$2 TRAY_USER_EXE=$3 ready_ico=$4 gpx_schema=$5
require_wine
require_program xmllint libxml2-utils "to validate the track log"
require_file "$LODESTAR_EXE" "build the Windows build's lodestar target first"
require_file "$TRAY_USER_EXE" "build the Windows build's tray_user target first"
require_file "$ready_ico" "the built-in \"ready\" icon"
require_file "$gpx_schema" "the GPX 1.1 schema"
use_run_prefix "$run_dir"
LODESTAR_EXE=$(absolute_path "$LODESTAR_EXE") TRAY_USER_EXE=$(absolute_path "$TRAY_USER_EXE")
icon_index=$(ico_image_index "$ready_ico" 16x16) || fail "$ready_ico holds no 16x16 image"
icon="${ready_ico}[$icon_index]"

WORK=$(mktemp -d) || fail "cannot create a temporary directory"
DESKTOP=lodestar-balloon-$$
SHOT=$WORK/screen.png
trap 'keep_failed_screenshot lodestar_balloon_failed.png' EXIT

sensor='[sensor1]
id = {637d3e4b-20da-4318-b6fc-a100fd003a83}
name = Balloon GPS
'
scenario=$WORK/scenario.ini
printf '%sstate = 3\n' "$sensor" >"$scenario"
mkdir -p "$WORK/app"
printf '[notify]\r\nfix=1\r\n[log]\r\ngpx=tracks\r\n' >"$WORK/app/lodestar.ini"

start_lodestar "$scenario"
tray_user --timeout 60000 find || fail "lodestar's dialog did not appear"
wait_for 60 desktop_shown || fail "no Wine desktop window named $DESKTOP on the X screen"
# Nothing hovers over the icon: no tooltip is taken for a balloon.
xdotool mousemove "$desk_x" "$desk_y"
sleep 3
before=$(shown_windows explorer.exe)

printf '%sstate = 0\nlatitude = 35.681236\nlongitude = 139.767125\nsatellites_used = 7\n' "$sensor" \
    >"$scenario.new"
mv "$scenario.new" "$scenario"

wait_for 60 tray_icon_shown "$icon" || fail "the task bar does not show the ready icon after the fix"
echo "the ready icon is shown at $icon_x,$icon_y"

# A window of explorer's that was not there before, above the icon and
# reaching across it, with at least three lines of text.
balloon_shown() {
    local x y w h
    while read -r x y w h; do
        [ -n "$x" ] || continue
        grep -qxF "$x $y $w $h" <<<"$before" && continue
        [ $((y + h)) -le $((icon_y + 16)) ] && [ $((y + h)) -ge $((icon_y - 200)) ] || continue
        [ "$x" -le $((icon_x + 16)) ] && [ $((x + w)) -ge "$icon_x" ] || continue
        screenshot
        lines=$(text_lines "$((w - 4))x$((h - 4))+$((x + 2))+$((y + 2))")
        [ "$lines" -ge 3 ] || continue
        balloon="${w}x${h} at $x,$y, $lines lines"
        return 0
    done < <(shown_windows explorer.exe)
    return 1
}
wait_for 60 balloon_shown || fail "no balloon appeared above the icon after the fix (explorer's windows: $(shown_windows explorer.exe | tr '\n' ';'))"
echo "balloon: $balloon"

tray_user command 32772 wait-gone || fail "the Exit command did not end lodestar"
logs=("$WORK"/app/tracks/lodestar-*.gpx)
[ -f "${logs[0]}" ] || fail "no track log was written in $WORK/app/tracks"
echo "track log ${logs[0]##*/}:"
sed 's/^/    /' "${logs[0]}"
xmllint --noout --schema "$gpx_schema" "${logs[0]}" || fail "the track log is not valid GPX 1.1"
grep -q '<trkpt lat="35.681236" lon="139.767125">' "${logs[0]}" || fail "the track log lacks the position"
echo "PASS"
