#!/usr/bin/env bash
# Installs what is needed, builds Quillprint and starts its window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLPRINT_BUILD_TESTS=OFF -DQUILLPRINT_BUILD_BENCH=OFF
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
exec ./build/bin/quillprint
