#!/usr/bin/env bash
# Installs everything that building, testing and the benchmarks call, on a
# Debian 12 machine (run as root). Each package and what needs it:
#   cmake ninja-build g++            the native builds
#   libgtest-dev libgmock-dev        the unit tests
#   zlib1g-dev                       the icon generator (tools/), which compresses the large icon images
#   g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
#                                    the Windows build (its -posix compilers, objdump and strip for the release),
#                                    and the native build's resource compiler (windres, preprocessing with the MinGW gcc)
#   wine64 wine                      the Wine tests: the loader, and the `wine` and `wineserver` commands
#   xvfb xauth                       a private X server for the Wine GUI tests (xvfb-run)
#   xdotool                          real pointer events in the Wine desktop
#   imagemagick imagemagick-6.q16    screenshots of the Wine desktop (import, compare, stream come from the latter)
#   x11-utils                        where Wine's windows are on the X screen (xwininfo)
#   mawk                             awk, which the Wine tests read files and screenshots with
#   zip                              the release archive
#   valgrind                         instructions per status in the benchmarks (bench/run.sh)
#   locales                          the locale sources the Wine folder-name test builds its locales from
#   nlohmann-json3-dev               the simulator's reading of gpsd's JSON (header-only, both builds)
#   gpsd                             the gpsd tests, the gpsd soak and scripts/gpsd_replay.py
#   python3                          scripts/gpsd_replay.py and the gpsd tests (/usr/bin/python3)
#   python3-yaml                     the release test, which reads the winget manifest
#   wixl msitools                    the Windows Installer package (wixl builds it; msiinfo, msibuild and
#                                    msiextract adjust and read its tables in the release and its tests)
#   osslsigncode openssl             signing the release (osslsigncode), and the signing tests' throw-away
#                                    certificate (openssl)
#   clang-15 libfuzzer-15-dev        the fuzz targets (the `fuzz` preset) and their corpus regression run
#   libxml2-utils                    xmllint, which validates the GPX track log against its schema
#   iproute2                         ip netns: the hostile-gpsd tests' namespace whose name server never answers
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  cmake ninja-build g++ libgtest-dev libgmock-dev zlib1g-dev \
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 \
  wine64 wine xvfb xauth xdotool imagemagick imagemagick-6.q16 x11-utils mawk zip valgrind locales \
  nlohmann-json3-dev gpsd python3 python3-yaml \
  wixl msitools osslsigncode openssl clang-15 libfuzzer-15-dev libxml2-utils iproute2
