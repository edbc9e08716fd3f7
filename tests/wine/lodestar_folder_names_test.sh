#!/bin/bash
# lodestar.exe in folders named with letters the ANSI code page lacks or
# writes in two bytes reads and writes the settings file beside it:
#   lodestar_folder_names_test.sh RUN_DIR LODESTAR_EXE TRAY_USER_EXE SCENARIO
# The file starts with a sensor_id naming the second sensor, which a run
# keeps only when it has read the file. A run in a plain folder gives the
# bytes every other folder must give: "Łódź" under code page 1252, which has
# no "Ł", and "測位表示" under code page 932, where the second byte of "表"
# is a backslash.
set -u
. "$(dirname "$0")/wine_common.sh"
run_under_xvfb "$0" "$@"
. "$(dirname "$0")/lodestar_harness.sh"

run_dir=$1 LODESTAR_EXE=$2 TRAY_USER_EXE=$3 scenario=$4
require_wine
require_file "$LODESTAR_EXE" "build the Windows build's lodestar target first"
require_file "$TRAY_USER_EXE" "build the Windows build's tray_user target first"
require_file "$scenario" "the scenario of this test"
require_program localedef libc-bin "to make the locales that choose Wine's code page"
use_run_prefix "$run_dir"
LODESTAR_EXE=$(absolute_path "$LODESTAR_EXE") TRAY_USER_EXE=$(absolute_path "$TRAY_USER_EXE")
scenario=$(absolute_path "$scenario")

WORK=$(mktemp -d) || fail "cannot create a temporary directory"
trap finish_case EXIT

# Wine takes its ANSI code page from the Unix locale; these are made here so
# the machine needs none installed.
export LOCPATH=$WORK/locales
mkdir -p "$LOCPATH"
for locale in en_US ja_JP; do
    localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" >/dev/null 2>&1 ||
        fail "cannot make the locale $locale.UTF-8 (Debian package locales)"
done

second_sensor="{9c3f6a1e-5b7d-4e2a-8f10-2d4b6c8e0a12}"
grep -qixF "id = $second_sensor" "$scenario" || fail "$scenario has no sensor $second_sensor"

# run_in LOCALE DIR: one run of lodestar.exe in DIR, ended by its Exit command.
run_in() {
    local locale=$1 app=$2
    export LC_ALL=$locale LANG=$locale
    DESKTOP=lodestar-folders-$$-$STARTS
    mkdir -p "$app"
    printf '; Chosen by hand: the second receiver.\r\n[hardware]\r\nsensor_id=%s\r\n' "$second_sensor" \
        >"$app/lodestar.ini"
    start_lodestar "$scenario" "$app"
    tray_user --timeout 20000 find || fail "lodestar did not start in $app under $locale"
    tray_user command 32772 wait-gone || fail "the Exit command did not end lodestar in $app"
}

run_in en_US.UTF-8 "$WORK/app"
check_settings "$scenario" "$second_sensor"
for folder in en_US.UTF-8:Łódź ja_JP.UTF-8:測位表示; do
    run_in "${folder%%:*}" "$WORK/${folder#*:}"
    cmp "$WORK/app/lodestar.ini" "$WORK/${folder#*:}/lodestar.ini" ||
        fail "lodestar.ini in ${folder#*:} (${folder%%:*}) differs from the one in a plain folder"
done
echo "PASS"
