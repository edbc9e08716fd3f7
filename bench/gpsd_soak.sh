#!/bin/bash
# Soak: a recording played in a loop at ten times its pace into a gpsd, and
# the native lodestar built with ASan+UBSan watching it for ten minutes.
# Passes when lodestar exits normally with no sanitizer report; prints its
# resident memory every 30 s and the growth after the first minute. ASan's
# quarantine of freed memory is kept small so that the resident memory
# follows what lodestar holds (with its default of 256 MB it grows by every
# byte freed until the quarantine is full). --preset native soaks the plain
# build instead.
#   bench/gpsd_soak.sh [--minutes N] [--log RECORDING] [--preset native|native-asan]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
minutes=10
preset=native-asan
log=$root/tests/data/gpsd/neo-m8n.log

if [ -z "${GPSD_REPLAY_SERVER:-}" ]; then
    while [ $# -gt 0 ]; do
        case $1 in
            --minutes) minutes=$2; shift 2 ;;
            --log) log=$2; shift 2 ;;
            --preset) preset=$2; shift 2 ;;
            *) echo "usage: $0 [--minutes N] [--log RECORDING] [--preset native|native-asan]" >&2; exit 2 ;;
        esac
    done
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target lodestar >/dev/null
    exec /usr/bin/python3 "$root/scripts/gpsd_replay.py" --loop --speed 10 "$log" \
        env SOAK_MINUTES="$minutes" SOAK_PRESET="$preset" bash "$0"
fi

work=$(mktemp -d)
lodestar_pid=
cleanup() {
    [ -n "$lodestar_pid" ] && kill "$lodestar_pid" 2>/dev/null || true
    exec 3>&- 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp "$root/build/$SOAK_PRESET/tray/lodestar" "$work/"
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=4
mkdir -m 700 "$work/run"
id=$(/usr/bin/python3 -c 'import sys, uuid; print(uuid.uuid5(uuid.NAMESPACE_URL, "gpsd:" + sys.argv[1]))' \
    "$GPSD_REPLAY_DEVICE")
printf '[hardware]\nsensor_id={%s}\n' "$id" >"$work/lodestar.ini"
mkfifo "$work/input"
(cd "$work" && XDG_RUNTIME_DIR=$work/run exec ./lodestar <"$work/input" >"$work/out" 2>"$work/err") &
lodestar_pid=$!
exec 3>"$work/input"

rss() { awk '/^VmRSS/ { print $2 }' "/proc/$lodestar_pid/status"; }
start=$(date +%s) end=$(( $(date +%s) + SOAK_MINUTES * 60 )) baseline=
while [ "$(date +%s)" -lt "$end" ]; do
    sleep 30
    kill -0 "$lodestar_pid" 2>/dev/null || { echo "FAIL: lodestar ended early" >&2; cat "$work/err" >&2; exit 1; }
    now=$(rss) elapsed=$(( $(date +%s) - start ))
    [ -z "$baseline" ] && [ "$elapsed" -ge 60 ] && baseline=$now
    echo "t=${elapsed}s rss=${now} kB tray_updates=$(grep -c '^tray modify' "$work/out")"
done
final=$(rss)
printf 'tray rbuttondown\ntray rbuttonup\n' >&3
sleep 1
printf 'choose 32772\n' >&3
exec 3>&-
status=0
wait "$lodestar_pid" || status=$?
lodestar_pid=
echo "lodestar exit code $status; rss after the first minute ${baseline:-?} kB, at the end $final kB," \
     "growth $(( final - ${baseline:-$final} )) kB"
if grep -q -E 'AddressSanitizer|LeakSanitizer|runtime error:' "$work/err"; then
    echo "FAIL: sanitizer report:" >&2
    cat "$work/err" >&2
    exit 1
fi
[ "$status" -eq 0 ] || { echo "FAIL: lodestar exit code $status" >&2; exit 1; }
echo "PASS"
