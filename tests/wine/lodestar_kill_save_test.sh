#!/bin/bash
# Killing lodestar.exe at random moments of its save never breaks the
# settings file:
#   lodestar_kill_save_test.sh RUN_DIR LODESTAR_EXE TRAY_USER_EXE SCENARIO KILLS
# The file holds about 2 MB of the user's own lines: comments and catalog
# lines of receivers seen before. Runs alternate between two versions of the
# scenario whose sensor names differ, so every save changes the file. After
# each kill the file is, byte for byte, one of the two files an uninterrupted
# save leaves; once lodestar has started again no other file lies beside it.
set -u
. "$(dirname "$0")/wine_common.sh"
run_under_xvfb "$0" "$@"
. "$(dirname "$0")/lodestar_harness.sh"

run_dir=$1 LODESTAR_EXE=$2 TRAY_USER_EXE=$3 scenario=$4 kills=$5
require_wine
require_file "$LODESTAR_EXE" "build the Windows build's lodestar target first"
require_file "$TRAY_USER_EXE" "build the Windows build's tray_user target first"
require_file "$scenario" "the scenario of this test"
use_run_prefix "$run_dir"
LODESTAR_EXE=$(absolute_path "$LODESTAR_EXE") TRAY_USER_EXE=$(absolute_path "$TRAY_USER_EXE")

WORK=$(mktemp -d) || fail "cannot create a temporary directory"
DESKTOP=lodestar-kill-$$
trap finish_case EXIT
app=$WORK/app settings=$WORK/app/lodestar.ini

cp "$scenario" "$WORK/scenario0.ini"
sed 's/^\(name = .*\)$/\1 (moved)/' "$scenario" >"$WORK/scenario1.ini"
cmp -s "$WORK/scenario0.ini" "$WORK/scenario1.ini" && fail "$scenario names no sensor"

mkdir -p "$app"
awk 'BEGIN {
    print "; Receivers of the survey team, kept by hand."
    print "[hardware]"
    for (n = 100; size < 2000000; n++) {
        if (n % 10 == 0) line = sprintf("; site %d: the receivers below were checked on day %d", n / 10, n % 365)
        else line = sprintf("location_sensor_list%d={%08X-1D2C-4B3A-9F8E-%012X}\t\t;Survey receiver %d", n, n, n, n)
        print line
        size += length(line) + 2
    }
}' | sed 's/$/\r/' >"$settings"
user_lines=$(tr -d '\r' <"$settings" | grep -c '^location_sensor_list\|^;')

# The save has begun once the file or the number of files beside it changed
# since the marker file MARK was made.
changed_since() {
    local mark=$1 entries=("$app"/*)
    [ ${#entries[@]} -ne "$(cat "$mark")" ] || [ "$settings" -nt "$mark" ] || [ ! -e "$settings" ]
}

milliseconds() {
    echo $(($(date +%s%N) / 1000000))
}

no_leftovers() {
    local leftovers
    leftovers=$(ls -A "$app" | grep -vxF -e lodestar.exe -e lodestar.ini)
    [ -z "$leftovers" ] || fail "files left beside lodestar.ini after a new start: $leftovers"
}

# save VERSION [KILL_AFTER_MS]: a run with scenario VERSION ended by its Exit
# command; lodestar.exe is killed KILL_AFTER_MS after its save began, if
# given. SAVE_MS receives the time from the save's first change to the folder
# to its last.
save() {
    local version=$1 kill_after=${2:-} pid poster began tries
    start_lodestar "$WORK/scenario$version.ini"
    tray_user --timeout 30000 find >/dev/null || fail "lodestar did not start (start $STARTS)"
    no_leftovers
    pid=$(lodestar_unix_pid)
    [ -n "$pid" ] || fail "cannot find the Unix process of lodestar.exe"
    local entries=("$app"/*)
    echo ${#entries[@]} >"$WORK/before"
    tray_user command 32772 >/dev/null &
    poster=$!
    for ((tries = 0; tries < 2000; tries++)); do
        changed_since "$WORK/before" && break
        process_alive "$pid" || break
        sleep 0.005
    done
    began=$(milliseconds)
    if [ -n "$kill_after" ]; then
        sleep "$((kill_after / 1000)).$(printf '%03d' $((kill_after % 1000)))"
        if process_alive "$pid"; then kill -KILL "$pid"; else ENDED=$((ENDED + 1)); fi
    fi
    wait "$poster"
    # Until the process ends, the last change to the folder ends the save.
    # A busy machine can stretch the save well past its usual second.
    local seen="" now last=$began
    while (($(milliseconds) - began < 60000)); do
        process_alive "$pid" || break
        now=$(ls --full-time "$app" 2>/dev/null)
        [ "$now" != "$seen" ] && seen=$now last=$(milliseconds)
        sleep 0.005
    done
    process_alive "$pid" && fail "lodestar.exe did not end after its Exit command"
    SAVE_MS=$((last - began))
    LAST_PROCESS=""
}

# The file each uninterrupted save leaves, the user's lines all kept. Kills
# first fall within the shortest of these saves, and a quarter more.
ENDED=0
save 0
shortest=$SAVE_MS
save 1
((SAVE_MS < shortest)) && shortest=$SAVE_MS
cp "$settings" "$WORK/saved1.ini"
[ "$(tr -d '\r' <"$settings" | grep -c '^location_sensor_list\|^;')" -eq $((user_lines + 2)) ] ||
    fail "a save lost some of the user's $user_lines lines"
save 0
((SAVE_MS < shortest)) && shortest=$SAVE_MS
cp "$settings" "$WORK/saved0.ini"
cmp -s "$WORK/saved0.ini" "$WORK/saved1.ini" && fail "the two scenarios save the same file"
((shortest > 0)) || fail "a save changed nothing beside lodestar.exe"
window=$((shortest + shortest / 4 + 10))
echo "a save of $(wc -c <"$settings") bytes took $shortest ms or more; the first kills fall within $window ms of its start"

# Saves take longer or shorter as the machine is busy: the window shrinks
# after a kill that came too late and grows after one that hit.
old=0 new=0
for ((kill = 1; kill <= kills; kill++)); do
    version=$((kill % 2)) ended_before=$ENDED
    save "$version" $((RANDOM % window))
    if ((ENDED > ended_before)); then
        window=$((window * 3 / 4 + 10))
    else
        window=$((window + window / 20 + 1))
    fi
    if cmp -s "$settings" "$WORK/saved$version.ini"; then
        new=$((new + 1))
    elif cmp -s "$settings" "$WORK/saved$((1 - version)).ini"; then
        old=$((old + 1))
    else
        ls -l "$app"
        fail "kill $kill left a settings file that is neither the one before the save nor the one after it"
    fi
done
echo "$kills kills: $old left the file before the save, $new the file after it ($ENDED after lodestar had ended)"

start_lodestar "$WORK/scenario0.ini"
tray_user --timeout 30000 find >/dev/null || fail "lodestar did not start after the last kill"
no_leftovers
tray_user command 32772 wait-gone >/dev/null || fail "the last run did not end by Exit"
cmp "$settings" "$WORK/saved0.ini" || fail "the last save did not leave the expected file"
echo "PASS"
