#!/usr/bin/env bash
# Builds the engine benchmarks in Release and runs them. Extra arguments go to
# the benchmark program, e.g. --benchmark_filter=Federalist.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUILLPRINT_BENCH_BUILD_DIR:-$root/build-bench}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUILLPRINT_BUILD_GUI=OFF -DQUILLPRINT_BUILD_TESTS=OFF -DQUILLPRINT_BUILD_BENCH=ON
cmake --build "$build" -j 2 --target quillprint_bench_engine
"$build/bin/quillprint_bench_engine" "$@"
