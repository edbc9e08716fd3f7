#!/bin/bash
# Writes a scenario of COUNT ready GPS sensors with a fix to standard output.
# Sensor number TRACKED (none when 0) gets the id the tray tracks by default.
#   make_scenario.sh COUNT [TRACKED]
set -eu
count=$1 tracked=${2:-0}
for ((i = 1; i <= count; i++)); do
    printf -v id '{%08X-2222-3333-4444-555555555555}' "$i"
    [ "$i" -eq "$tracked" ] && id='{637D3E4B-20DA-4318-B6FC-A100FD003A83}'
    printf '[sensor%d]\nid = %s\nname = Bench Receiver %d\nstate = 0\n' "$i" "$id" "$i"
    printf 'latitude = 35.681236\nlongitude = 139.767125\naltitude = 38.5\nerror_radius = 6\n'
    printf 'satellites_used = 7\nsatellites_in_view = 11\n\n'
done
printf '[location]\npostal_code = 100-0005\ncity = Chiyoda-ku\n'
