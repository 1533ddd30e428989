#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$jobs"
# The engine and workspace tests once more under AddressSanitizer and
# UndefinedBehaviorSanitizer.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQUILLPRINT_SANITIZE=ON -DQUILLPRINT_BUILD_GUI=OFF -DQUILLPRINT_BUILD_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
