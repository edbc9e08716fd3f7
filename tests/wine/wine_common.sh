# shellcheck shell=bash
# Shared by the Wine test scripts (sourced). Every test runs the Windows
# build under Wine in a throw-away prefix that prefix_setup.sh creates once
# per test run; RUN_DIR/prefix names it.

# Quiet Wine; no menu entries in the user's home; no Mono or Gecko installer.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# require_program COMMAND DEBIAN_PACKAGE [WHY]
require_program() {
    command -v "$1" >/dev/null 2>&1 ||
        fail "$1 not found: install the Debian package $2 (scripts/install-deps.sh)${3:+ $3}"
}

require_file() {
    [ -f "$1" ] || fail "$1 is missing: $2"
}

require_wine() {
    require_program wine wine "to run the Wine tests"
    require_program wineserver wine "to run the Wine tests"
}

absolute_path() {
    realpath -m -- "$1"
}

# Z:\... form of an absolute Unix path, as Windows programs under Wine see it.
windows_path() {
    local path=${1//\//\\}
    printf 'Z:%s' "$path"
}

# Points WINEPREFIX at the prefix of this test run.
use_run_prefix() {
    local run_dir=$1
    [ -f "$run_dir/prefix" ] ||
        fail "no Wine prefix for this run ($run_dir/prefix missing): wine.prefix.setup did not run or failed"
    WINEPREFIX=$(cat "$run_dir/prefix")
    [ -d "$WINEPREFIX/drive_c" ] || fail "Wine prefix $WINEPREFIX is gone"
    export WINEPREFIX
}

# Re-runs the calling script under a virtual X server of its own.
run_under_xvfb() {
    if [ -z "${WINE_TEST_XVFB:-}" ]; then
        require_program xvfb-run xvfb "to run the Wine GUI tests"
        require_program Xvfb xvfb "to run the Wine GUI tests"
        require_program xauth xauth "which xvfb-run needs"
        WINE_TEST_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$@"
    fi
}
