#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
# Warnings fail the build here, so none creeps in unnoticed.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLPRINT_WERROR=ON
cmake --build build -j "$jobs"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$jobs"
# The Debian package: its contents and Depends.
bash tools/check-package.sh build
# The engine and workspace tests once more under AddressSanitizer and
# UndefinedBehaviorSanitizer.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQUILLPRINT_SANITIZE=ON -DQUILLPRINT_BUILD_GUI=OFF -DQUILLPRINT_BUILD_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
# That build has no window, and still installs the command-line tool.
cli_only_prefix=$(mktemp -d)
cmake --install build-sanitize --prefix "$cli_only_prefix" >/dev/null
test -x "$cli_only_prefix/bin/quillprint-cli"
rm -rf "$cli_only_prefix"
# The engine under libFuzzer for 60 seconds, starting from the inputs kept in
# fuzz/corpus; a crash or a failed check stops the script (and CI). New
# inputs it finds go to build-fuzz/corpus, never into the repository.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQUILLPRINT_FUZZ=ON -DQUILLPRINT_BUILD_GUI=OFF -DQUILLPRINT_BUILD_TESTS=OFF -DQUILLPRINT_BUILD_BENCH=OFF
cmake --build build-fuzz -j "$jobs" --target quillprint_fuzz_engine
mkdir -p build-fuzz/corpus
build-fuzz/bin/quillprint_fuzz_engine -max_total_time=60 -timeout=30 -artifact_prefix=build-fuzz/ \
  build-fuzz/corpus fuzz/corpus
