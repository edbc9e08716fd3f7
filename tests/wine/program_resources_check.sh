#!/bin/bash
# Checks the manifest, version, Windows 7 linking and icons of one Windows
# program under Wine:
#   program_resources_check.sh RUN_DIR CHECKER EXE ICON_DIR VERSION [ICON_ID=ICO_FILE]...
set -u
. "$(dirname "$0")/wine_common.sh"

run_dir=$1 checker=$2 exe=$3 icon_dir=$4
shift 4
require_wine
require_file "$checker" "build the Windows build's program_resources_check target first"
require_file "$exe" "build the Windows build first"
use_run_prefix "$run_dir"
unset DISPLAY WAYLAND_DISPLAY
wine "$checker" "$(windows_path "$(absolute_path "$exe")")" "$(windows_path "$(absolute_path "$icon_dir")")" "$@"
