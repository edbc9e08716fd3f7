#!/usr/bin/env bash
# Sets up a fresh Debian machine (run as root), builds both builds and runs
# skyprobe on the example receiver with a fix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh native windows
SENSORSIM_SCENARIO=examples/gps_fix.ini build/native/probe/skyprobe
