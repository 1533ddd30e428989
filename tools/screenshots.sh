#!/usr/bin/env bash
# Builds the window and takes a picture of each tab page after a calculation
# on the example project, of "Result" with its top row selected, of a
# balanced calculation in progress and of "Result" and the validation report
# with the forty candidates of "Candidates", under a virtual X server. The pictures go
# to docs/images/. Usage: bash tools/screenshots.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run is missing: run tools/setup.sh first" >&2
  exit 1
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLPRINT_BUILD_TESTS=ON
cmake --build "$build" -j2 --target quillprint_screenshots quillprint_examples
mkdir -p docs/images
# A 96 dpi screen, so the window has the size it was laid out for.
xvfb-run -a -s "-screen 0 1400x900x24 -dpi 96" "$build/bin/quillprint_screenshots" docs/images
