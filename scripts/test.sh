#!/usr/bin/env bash
# The whole test suite: the native build, the native build under AddressSanitizer
# and UndefinedBehaviorSanitizer, the Windows executables under Wine, and each
# fuzz target once over its corpus (clang, ASan and UBSan).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh native native-asan windows fuzz
ctest --preset native -j2
ctest --preset native-asan -j2
ctest --preset windows -L 'wine|release'
ctest --preset fuzz -j2
