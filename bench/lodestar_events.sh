#!/bin/bash
# Drives a native lodestar through live status events of its tracked sensor,
# one scenario edit (a new latitude) each, waiting for each tray update, and
# prints its resident memory in KB after the first 100 events and after all:
#   lodestar_events.sh LODESTAR EVENTS [WRAPPER...]
# WRAPPER (e.g. valgrind and its options) runs lodestar under another program.
set -eu
lodestar=$1 events=$2
shift 2
work=$(mktemp -d "${TMPDIR:-/tmp}/lodestar-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$lodestar" "$work/lodestar"
mkdir "$work/run"

edit() {
    printf '[sensor1]\nid = {637D3E4B-20DA-4318-B6FC-A100FD003A83}\nname = Bench Receiver\nstate = 0\n' \
        >"$work/scenario.new"
    printf 'latitude = %s\nlongitude = 139.767125\nsatellites_used = 7\nsatellites_in_view = 11\n' "$1" \
        >>"$work/scenario.new"
    mv "$work/scenario.new" "$work/scenario.ini"
}

resident_kb() {
    local key value rest
    while read -r key value rest; do
        if [ "$key" = "VmRSS:" ]; then echo "$value"; fi
    done <"/proc/$1/status"
}

edit 35.000000
coproc LODESTAR {
    cd "$work" && XDG_RUNTIME_DIR=$work/run SENSORSIM_CHECK_MS=1 SENSORSIM_SCENARIO=$work/scenario.ini \
        exec "$@" ./lodestar 2>/dev/null
}
pid=$LODESTAR_PID
out=${LODESTAR[0]} in=${LODESTAR[1]}

await_status() {
    local line
    while read -r -t 120 line <&"$out"; do
        [[ $line == "tray modify "* ]] && return 0
    done
    echo "lodestar stopped answering" >&2
    exit 1
}

await_status
early=
for ((i = 1; i < events; i++)); do
    printf -v latitude '35.%06d' "$i"
    edit "$latitude"
    await_status
    [ "$i" -eq 99 ] && early=$(resident_kb "$pid")
done
late=$(resident_kb "$pid")
echo "command 32772" >&"$in"
wait "$pid" || true
echo "${early:-$late} $late"
