#!/bin/bash
# Starts a native lodestar on a scenario without sensors, writes one of COUNT
# sensors (the tracked one last) while it runs, and prints in milliseconds:
# the time until the tracked sensor shows in the tray, then the time until an
# Exit sent at that moment removes the tray entry, then until the program ends.
#   lodestar_takein.sh LODESTAR COUNT
set -eu
lodestar=$1 count=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/lodestar-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$lodestar" "$work/lodestar"
mkdir "$work/run"
"$here/make_scenario.sh" 0 >"$work/scenario.ini"
"$here/make_scenario.sh" "$count" "$count" >"$work/scenario.new"

coproc LODESTAR {
    cd "$work" && XDG_RUNTIME_DIR=$work/run SENSORSIM_SCENARIO=$work/scenario.ini exec ./lodestar 2>/dev/null
}
pid=$LODESTAR_PID
out=${LODESTAR[0]} in=${LODESTAR[1]}

now_ms() { echo $(($(date +%s%N) / 1000000)); }
await() {
    local line
    while read -r -t 120 line <&"$out"; do
        [[ $line == "$1"* ]] && return 0
    done
    echo "lodestar did not print $1" >&2
    exit 1
}

await "tray add "
start=$(now_ms)
mv "$work/scenario.new" "$work/scenario.ini"
await "tray modify "
shown=$(now_ms)
echo "command 32772" >&"$in"
await "tray delete "
deleted=$(now_ms)
wait "$pid" || true
ended=$(now_ms)
echo "$((shown - start)) $((deleted - shown)) $((ended - deleted))"
