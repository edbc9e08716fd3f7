#!/bin/bash
# Creates the Wine prefix shared by the Wine tests of one run, in a new
# temporary directory:
#   prefix_setup.sh RUN_DIR SENSORSIM_DLL
# - sensorsim.dll serves the Sensor API and Location API class ids;
# - the shell's "open" of a web address runs url_recorder.sh, which appends
#   the address to $LODESTAR_TEST_URL_LOG (or PREFIX/urls.log) and opens no browser.
# RUN_DIR/prefix receives the prefix path; prefix_cleanup.sh removes it.
set -u
. "$(dirname "$0")/wine_common.sh"

run_dir=$1
dll=$2
require_wine
require_file "$dll" "build the Windows build's sensorsim target first"
mkdir -p "$run_dir"

# A prefix left behind by an interrupted run goes first.
bash "$(dirname "$0")/prefix_cleanup.sh" "$run_dir" || exit 1

prefix=$(mktemp -d "${TMPDIR:-/tmp}/lodestar-wine.XXXXXX") || fail "cannot create a temporary directory"
export WINEPREFIX=$prefix
echo "$prefix" >"$run_dir/prefix"

# Without a display: nothing of the prefix's own shows on the user's screen.
unset DISPLAY WAYLAND_DISPLAY
start=$(date +%s)
wine wineboot --init >"$prefix/wineboot.log" 2>&1 || {
    cat "$prefix/wineboot.log" >&2
    fail "wineboot could not create the prefix $prefix"
}
# wineboot returns before the prefix is complete: wait for every process of
# the prefix to end, or keys added now may be lost to its late set-up.
wineserver -w
[ -f "$prefix/system.reg" ] && [ -d "$prefix/drive_c/windows/system32" ] ||
    fail "wineboot left an incomplete prefix $prefix (see $prefix/wineboot.log)"

# A private copy of the DLL: the build may replace its own while tests run.
cp "$dll" "$prefix/sensorsim.dll"
dll_path=$(windows_path "$prefix/sensorsim.dll")
for clsid in 77A1C827-FCD2-4689-8915-9D613CC5FA3E E5B8E079-EE6D-4E33-A438-C87F2E959254; do
    key="HKCR\\CLSID\\{$clsid}\\InprocServer32"
    wine reg add "$key" /ve /d "$dll_path" /f >/dev/null &&
        wine reg add "$key" /v ThreadingModel /d Both /f >/dev/null ||
        fail "cannot register sensorsim.dll for {$clsid}"
done

cat >"$prefix/url_recorder.sh" <<EOF
#!/bin/sh
# Stands in for the browser: records each address it is asked to open.
for url in "\$@"; do
    printf '%s\n' "\$url" >>"\${LODESTAR_TEST_URL_LOG:-$prefix/urls.log}"
done
EOF
chmod +x "$prefix/url_recorder.sh"
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$prefix/url_recorder.sh" /f >/dev/null ||
    fail "cannot route web addresses to the recorder"
wineserver -w

# Every registration read back from the finished prefix. Through a file: the
# Wine services a query starts inherit its output and would hold a pipe open.
expect_value() {
    local key=$1 name=$2 want=$3 got
    if [ "$name" = "(Default)" ]; then
        wine reg query "$key" /ve >"$prefix/reg_query.out" 2>/dev/null
    else
        wine reg query "$key" /v "$name" >"$prefix/reg_query.out" 2>/dev/null
    fi
    got=$(tr -d '\r' <"$prefix/reg_query.out")
    printf '%s\n' "$got" | grep -qF -- "$want" ||
        fail "the prefix lacks $key $name = $want after set-up (reg query said: ${got:-nothing})"
}
for clsid in 77A1C827-FCD2-4689-8915-9D613CC5FA3E E5B8E079-EE6D-4E33-A438-C87F2E959254; do
    key="HKCR\\CLSID\\{$clsid}\\InprocServer32"
    expect_value "$key" "(Default)" "$dll_path"
    expect_value "$key" ThreadingModel Both
done
expect_value 'HKCU\Software\Wine\WineBrowser' Browsers "$prefix/url_recorder.sh"
wineserver -w

echo "Wine prefix $prefix ready in $(($(date +%s) - start)) s"
