#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  cmake ninja-build g++ libgtest-dev libgmock-dev \
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 \
  wine64 xvfb xauth zip
