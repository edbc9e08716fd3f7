#!/usr/bin/env bash
# The whole test suite: the native build, the native build under AddressSanitizer
# and UndefinedBehaviorSanitizer, and the Windows executables under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh native native-asan windows
ctest --preset native -j2
ctest --preset native-asan -j2
ctest --preset windows -L 'wine|release'
