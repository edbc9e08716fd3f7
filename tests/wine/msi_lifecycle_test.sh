#!/bin/bash
# The Windows Installer package through a user's life with it, silently
# (msiexec /qn) in the run's Wine prefix:
#   msi_lifecycle_test.sh RUN_DIR TRAY_USER_EXE RELEASE_OUT PREVIOUS_VERSION VERSION SCENARIO
# RELEASE_OUT is what tests/release/build_packages.sh made: the releases of
# PREVIOUS_VERSION and VERSION and a second package of VERSION.
#  1. the previous version with AUTOSTART=0: files, shortcut, no Run value;
#  2. the user edits lodestar.ini; the newer version replaces the programs,
#     keeps the file byte for byte and adds the Run value;
#  3. lodestar started by the Run value's command runs; while it runs, a new
#     package of the same version replaces the installed one without a second
#     Apps & features entry, and the older version is refused and changes
#     nothing; Exit saves the settings beside the installed exe, edits kept;
#  4. uninstalling removes programs, shortcut and Run value, not lodestar.ini.
set -u
. "$(dirname "$0")/wine_common.sh"
run_under_xvfb "$0" "$@"
. "$(dirname "$0")/lodestar_harness.sh"

run_dir=$1 TRAY_USER_EXE=$2 release_out=$3 previous=$4 version=$5 scenario=$6
require_wine
require_file "$TRAY_USER_EXE" "build the Windows build's tray_user target first"
require_file "$scenario" "the scenario of this test"
old_msi=$release_out/dist/lodestar-$previous.msi
new_msi=$release_out/dist/lodestar-$version.msi
rebuilt_msi=$release_out/rebuilt/lodestar-$version.msi
release=$release_out/dist/lodestar-$version
for file in "$old_msi" "$new_msi" "$rebuilt_msi" "$release/lodestar.exe"; do
    require_file "$file" "the release.build test makes it"
done
use_run_prefix "$run_dir"
TRAY_USER_EXE=$(absolute_path "$TRAY_USER_EXE") scenario=$(absolute_path "$scenario")

WORK=$(mktemp -d) || fail "cannot create a temporary directory"
DESKTOP=lodestar-msi-$$
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# wine's output through files: services it starts would hold a pipe open.
wine_output() {
    wine "$@" >"$WORK/wine.out" 2>/dev/null
    local status=$?
    tr -d '\r' <"$WORK/wine.out"
    return $status
}

# msiexec ARGUMENTS...: silently, with a log to show on failure; its exit code.
msiexec() {
    echo "[${SECONDS}s] msiexec $*"
    wine msiexec "$@" /qn /l*v "$(windows_path "$WORK/msi.log")" >/dev/null 2>&1
}

run_value() {
    wine_output reg query "$run_key" /v Lodestar | sed -n 's/^ *Lodestar *REG_SZ *//p'
}

# "DisplayVersion ProductCode" of each Apps & features entry named Lodestar.
# Wine keeps per-user products' entries under HKLM, Windows under HKCU.
arp_entries() {
    local hive
    for hive in HKLM HKCU; do
        wine_output reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s
    done | awk '/^HKEY/ { key = $0; sub(/.*\\/, "", key) }
                $1 == "DisplayName" && $3 == "Lodestar" { named[key] = 1 }
                $1 == "DisplayVersion" { version[key] = $3 }
                END { for (k in named) print version[k], k }' | sort
}

unix_path() {
    local path=${1//\\//}
    printf '%s/drive_c%s' "$WINEPREFIX" "${path#[Cc]:}"
}

cleanup() {
    local status=$?
    [ $status -ne 0 ] && [ -f "$WORK/msi.log" ] &&
        { echo "the last msiexec's log, its end:"; tr -d '\0\r' <"$WORK/msi.log" | tail -n 40; }
    [ -n "$LAST_PROCESS" ] && wine taskkill /f /pid "$LAST_PROCESS" >/dev/null 2>&1 && LAST_PROCESS=""
    # Leave the shared prefix as it was: a Run value would start lodestar at
    # the next session end of another test.
    local code
    for code in $(arp_entries | cut -d' ' -f2); do
        wine msiexec /x "$code" /qn >/dev/null 2>&1
    done
    [ -n "$(run_value)" ] && wine reg delete "$run_key" /v Lodestar /f >/dev/null 2>&1
    [ -n "${install_dir:-}" ] && rm -rf "$install_dir"
    rm -f "$WORK/app"
    (exit $status)
    finish_case
}
trap cleanup EXIT

local_app_data=$(wine_output cmd /c echo %LOCALAPPDATA%)
app_data=$(wine_output cmd /c echo %APPDATA%)
[[ $local_app_data == ?:\\* && $app_data == ?:\\* ]] || fail "cannot read the user's folders ($local_app_data, $app_data)"
windows_exe="$local_app_data\\Programs\\Lodestar\\lodestar.exe"
install_dir=$(unix_path "$local_app_data\\Programs\\Lodestar")
shortcut=$(unix_path "$app_data\\Microsoft\\Windows\\Start Menu\\Programs\\Lodestar.lnk")
[ -e "$install_dir" ] && fail "$install_dir exists before the test"
ln -s "$install_dir" "$WORK/app"   # where the harness reads lodestar.ini

check_programs() {
    local name
    for name in lodestar.exe skyprobe.exe README.txt LICENSE THIRD-PARTY-NOTICES.txt lodestar.ini; do
        cmp -s "$install_dir/$name" "$1/$name" || fail "$name is not installed as shipped in $1"
    done
    [ -f "$shortcut" ] && grep -aqF "$windows_exe" "$shortcut" ||
        fail "no Start menu shortcut to $windows_exe"
}

# 1. The previous version, without start at sign-in.
msiexec /i "$(windows_path "$old_msi")" AUTOSTART=0 || fail "installing $previous failed (exit code $?)"
wineserver -w
check_programs "$release_out/dist/lodestar-$previous"
[ -z "$(run_value)" ] || fail "AUTOSTART=0 wrote the Run value $(run_value)"
[ "$(arp_entries | cut -d' ' -f1)" = "$previous" ] || fail "Apps & features lists: $(arp_entries)"

# 2. The user's edits, then the upgrade. The installed exe is changed as an
# older program would differ: the upgrade must replace it.
sensor_id="{9C3F6A1E-5B7D-4E2A-8F10-2D4B6C8E0A12}"
note="; my receiver is the second one"
cr=$'\r'
sed -i "s/^sensor_id=.*$cr\$/sensor_id=$sensor_id$cr/" "$install_dir/lodestar.ini"
printf '%s\r\n' "$note" >>"$install_dir/lodestar.ini"
grep -q "^sensor_id=$sensor_id" "$install_dir/lodestar.ini" || fail "could not edit lodestar.ini"
cp "$install_dir/lodestar.ini" "$WORK/edited.ini"
printf 'older' >>"$install_dir/lodestar.exe"
msiexec /i "$(windows_path "$new_msi")" || fail "the upgrade to $version failed (exit code $?)"
wineserver -w
cmp -s "$install_dir/lodestar.ini" "$WORK/edited.ini" || fail "the upgrade changed the edited lodestar.ini"
for name in lodestar.exe skyprobe.exe README.txt LICENSE THIRD-PARTY-NOTICES.txt; do
    cmp -s "$install_dir/$name" "$release/$name" || fail "the upgrade did not install $version's $name"
done
[ -f "$shortcut" ] || fail "the upgrade left no Start menu shortcut"
command=$(run_value)
[ "$command" = "\"$windows_exe\"" ] || fail "the Run value is [$command], expected [\"$windows_exe\"]"
entries=$(arp_entries)
[ "$(cut -d' ' -f1 <<<"$entries")" = "$version" ] || fail "Apps & features lists: $entries"

# 3. lodestar as the next sign-in starts it: the Run value's command.
STARTS=$((STARTS + 1))
unquoted=${command#\"} unquoted=${unquoted%\"}
SENSORSIM_SCENARIO=$(windows_path "$scenario") LODESTAR_TEST_START="$WORK:$STARTS" \
    wine explorer "/desktop=$DESKTOP,800x600" "$unquoted" >>"$WORK/desktop.log" 2>&1 &
tray_user --timeout 60000 find hidden || fail "lodestar started from the Run value did not run"

msiexec /i "$(windows_path "$rebuilt_msi")"
status=$?
# 3010 (restart required) arrives as its low byte under Wine.
[ $status -eq 0 ] || [ $status -eq $((3010 & 255)) ] || fail "a new package of $version failed (exit code $status)"
rebuilt_entries=$(arp_entries)
[ "$(wc -l <<<"$rebuilt_entries")" -eq 1 ] && [ "$rebuilt_entries" != "$entries" ] ||
    fail "a new package of $version did not take the installed one's place: $rebuilt_entries"
cmp -s "$install_dir/lodestar.ini" "$WORK/edited.ini" || fail "reinstalling changed lodestar.ini"

msiexec /i "$(windows_path "$old_msi")"
status=$?
[ $status -ne 0 ] || fail "installing $previous over $version succeeded"
[ "$(arp_entries)" = "$rebuilt_entries" ] || fail "the refused downgrade changed Apps & features: $(arp_entries)"
[ "$(run_value)" = "$command" ] || fail "the refused downgrade changed the Run value"
cmp -s "$install_dir/lodestar.ini" "$WORK/edited.ini" || fail "the refused downgrade changed lodestar.ini"
for name in skyprobe.exe README.txt; do
    cmp -s "$install_dir/$name" "$release/$name" || fail "the refused downgrade changed $name"
done

tray_user command 32772 wait-gone || fail "the Exit command did not end lodestar"
check_settings "$scenario" "$sensor_id"
grep -qxF "$note" <(tr -d '\r' <"$install_dir/lodestar.ini") || fail "lodestar did not keep the user's note"
cp "$install_dir/lodestar.ini" "$WORK/saved.ini"

# 4. Uninstall.
wineserver -w
msiexec /x "$(windows_path "$rebuilt_msi")" || fail "uninstalling failed (exit code $?)"
wineserver -w
left=$(cd "$install_dir" && ls -A)
[ "$left" = lodestar.ini ] || fail "uninstalling left [$left] in $install_dir, expected lodestar.ini alone"
cmp -s "$install_dir/lodestar.ini" "$WORK/saved.ini" || fail "uninstalling changed lodestar.ini"
[ -e "$shortcut" ] && fail "uninstalling left the Start menu shortcut"
[ -z "$(run_value)" ] || fail "uninstalling left the Run value"
[ -z "$(arp_entries)" ] || fail "uninstalling left Apps & features entries: $(arp_entries)"
echo "PASS"
