#!/bin/bash
# Ends every process of the run's Wine prefix and deletes the prefix:
#   prefix_cleanup.sh RUN_DIR
set -u
. "$(dirname "$0")/wine_common.sh"

run_dir=$1
[ -f "$run_dir/prefix" ] || exit 0
prefix=$(cat "$run_dir/prefix")
case $prefix in
    */lodestar-wine.*) ;;
    *) fail "$run_dir/prefix names $prefix, not a prefix of these tests; left alone" ;;
esac
WINEPREFIX=$prefix wineserver -k 2>/dev/null
WINEPREFIX=$prefix wineserver -w 2>/dev/null
rm -rf "$prefix" "$run_dir/prefix"
