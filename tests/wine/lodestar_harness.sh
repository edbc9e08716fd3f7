# shellcheck shell=bash
# Runs lodestar.exe in a Wine desktop of its own and plays the user through
# tray_user.exe (sourced by the lodestar tests, after wine_common.sh).
# Set before use: LODESTAR_EXE, TRAY_USER_EXE, WORK (the case's temporary
# directory) and DESKTOP (a desktop name unique to the case).

LAST_PROCESS=""  # Windows process id of the lodestar found running, until it has ended

# Starts a copy of lodestar.exe in WORK/app, with the given scenario, in the
# desktop DESKTOP: the notification area exists only inside a Wine desktop.
start_lodestar() {
    local scenario=$1
    mkdir -p "$WORK/app"
    cp "$LODESTAR_EXE" "$WORK/app/lodestar.exe" || fail "cannot copy $LODESTAR_EXE"
    SENSORSIM_SCENARIO=$(windows_path "$scenario") LODESTAR_TEST_URL_LOG=$WORK/urls.log \
        wine explorer "/desktop=$DESKTOP,800x600" "$(windows_path "$WORK/app/lodestar.exe")" \
        >>"$WORK/desktop.log" 2>&1 &
}

# tray_user.exe STEP... acting inside the case's desktop (it finds windows
# only there); returns its exit code.
tray_user() {
    echo "[${SECONDS}s] tray_user $*"
    local output status found
    # Through a file, not a pipe: a wineserver this call starts keeps the
    # output open for as long as it runs.
    timeout 120 wine "$TRAY_USER_EXE" --desktop "$DESKTOP" "$@" >"$WORK/tray_user.out" 2>&1
    status=$?
    output=$(tr -d '\r' <"$WORK/tray_user.out")
    sed 's/^/    /' <<<"$output"
    found=$(sed -n 's/^tray_user: find: window .* of process \([0-9]*\)$/\1/p' <<<"$output" | tail -n 1)
    [ -n "$found" ] && LAST_PROCESS=$found
    grep -q '^tray_user: wait-gone: ' <<<"$output" && [ $status -eq 0 ] && LAST_PROCESS=""
    return $status
}

# On the way out: ends a lodestar this case left running, shows what Wine
# said if the case failed, and removes the case's directory. A desktop's
# explorer closes by itself some seconds after its last program.
finish_case() {
    local status=$?
    [ -n "$LAST_PROCESS" ] && wine taskkill /f /pid "$LAST_PROCESS" >/dev/null 2>&1
    if [ $status -ne 0 ] && [ -s "$WORK/desktop.log" ]; then
        echo "Wine's output:"
        sed 's/^/    /' "$WORK/desktop.log"
    fi
    rm -rf "$WORK"
}

# The addresses recorded instead of opening a browser.
recorded_urls() {
    cat "$WORK/urls.log" 2>/dev/null
}

# The shell hands an address to the recorder asynchronously: waits up to
# SECONDS for one, then a second more for any that follow.
wait_for_url() {
    local tenths
    for ((tenths = 0; tenths < $1 * 10; tenths++)); do
        [ -s "$WORK/urls.log" ] && break
        sleep 0.1
    done
    sleep 1
}

# The key lines of a section of the settings file, line ends as LF.
ini_section() {
    tr -d '\r' <"$1" | awk -v want="[$2]" '/^\[/ { inside = ($0 == want); next } inside && /^[^;]/'
}

# Catalog values a run with this scenario writes, one per location sensor:
# the upper-case id text, two tabs, a semicolon, the name; sorted.
expected_catalog() {
    awk '
        function flush() {
            if (id != "" && (category == "" || category == "location")) print toupper(id) "\t\t;" name
            id = name = category = ""
        }
        /^[ \t]*[;#]/ { next }
        /^\[/ { flush(); sensor = ($0 ~ /^\[sensor[0-9]+\]/); next }
        sensor && /=/ {
            key = $0; sub(/[ \t]*=.*/, "", key); gsub(/^[ \t]+/, "", key)
            value = $0; sub(/^[^=]*=[ \t]*/, "", value); sub(/[ \t\r]+$/, "", value)
            if (key == "id") id = value
            else if (key == "name") name = value
            else if (key == "category") category = value
        }
        END { flush() }' "$1" | LC_ALL=C sort
}

# Checks the settings file beside the exe after a run:
#   check_settings SCENARIO SENSOR_ID_TEXT [LINES_LEFT_FROM_EARLIER...]
# [icon] holds the defaults, [hardware] the sensor id as it was and lines
# location_sensor_list1..N for the N location sensors of the scenario.
check_settings() {
    local scenario=$1 sensor_id=$2
    shift 2
    local file=$WORK/app/lodestar.ini
    [ -f "$file" ] || fail "lodestar.ini was not written beside lodestar.exe"
    echo "lodestar.ini:"
    tr -d '\r' <"$file" | sed 's/^/    /'

    local icon
    icon=$(ini_section "$file" icon)
    [ "$icon" = "$(printf 'enable_icon=\nenable_icon_idx=0\ndisable_icon=\ndisable_icon_idx=0')" ] ||
        fail "[icon] does not hold the four default lines in order"
    local hardware
    hardware=$(ini_section "$file" hardware)
    grep -qxF "sensor_id=$sensor_id" <<<"$hardware" || fail "[hardware] sensor_id is not $sensor_id"

    local expected count
    expected=$(expected_catalog "$scenario")
    count=$(grep -c . <<<"$expected")
    local actual="" n
    for ((n = 1; n <= count; n++)); do
        local line
        line=$(grep "^location_sensor_list$n=" <<<"$hardware") || fail "location_sensor_list$n is missing"
        actual+="${line#*=}"$'\n'
    done
    [ "$(LC_ALL=C sort <<<"${actual%$'\n'}")" = "$expected" ] ||
        fail "the location_sensor_list lines are not the scenario's sensors:"$'\n'"$expected"

    local kept
    for kept in "$@"; do
        grep -qxF "$kept" <<<"$hardware" || fail "the line $kept from an earlier run was not kept"
    done
    [ "$(grep -c '^location_sensor_list' <<<"$hardware")" -eq $((count + $#)) ] ||
        fail "[hardware] holds other location_sensor_list lines than expected"
}
