#!/usr/bin/env bash
# Builds everything and runs every test, as CI does; prints the time of each
# stage at the end. Packages are installed only when some are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

timings=()
report_timings() {
  echo "== time of each stage"
  printf '%s\n' "${timings[@]}"
}
trap report_timings EXIT
# stage NAME COMMAND...: runs the command and keeps its time for the report.
stage() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  timings+=("$(printf '%5d s  %s' $((SECONDS - start)) "$name")")
}

release_build() {
  # Warnings fail the build here, so none creeps in unnoticed.
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLPRINT_WERROR=ON
  cmake --build build -j "$jobs"
}
release_tests() { ctest --test-dir build --output-on-failure -j "$jobs"; }

# The engine, workspace and command-line tests once more under
# AddressSanitizer and UndefinedBehaviorSanitizer, built by clang with light
# optimisation (quicker to run, and the stack traces keep their lines). The
# engine's libFuzzer target is built in the same tree.
sanitizer_build() {
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" -DQUILLPRINT_SANITIZE=ON -DQUILLPRINT_FUZZ=ON \
    -DQUILLPRINT_BUILD_GUI=OFF -DQUILLPRINT_BUILD_BENCH=OFF
  cmake --build build-sanitize -j "$jobs"
}
sanitizer_tests() {
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs" --label-exclude whole-corpus
  # That build has no window, and still installs the command-line tool.
  local prefix
  prefix=$(mktemp -d)
  cmake --install build-sanitize --prefix "$prefix" >/dev/null
  test -x "$prefix/bin/quillprint-cli"
  rm -rf "$prefix"
}

# The engine under libFuzzer for 60 seconds, starting from the inputs kept in
# fuzz/corpus; a crash or a failed check stops the script (and CI). New inputs
# it finds go to build-sanitize/fuzz-corpus, never into the repository.
fuzzing() {
  mkdir -p build-sanitize/fuzz-corpus
  build-sanitize/bin/quillprint_fuzz_engine -max_total_time=60 -timeout=30 -artifact_prefix=build-sanitize/ \
    build-sanitize/fuzz-corpus fuzz/corpus
}

stage "packages" bash tools/setup.sh
stage "format of the changed lines" bash tools/check-format.sh
stage "release build" release_build
stage "release tests" release_tests
stage "Debian package" bash tools/check-package.sh build
stage "sanitizer build" sanitizer_build
stage "sanitizer tests" sanitizer_tests
stage "fuzzing" fuzzing

# The workspace and command-line tests once more under ThreadSanitizer,
# every command-line run on three threads (more than the cores of a small
# machine, so that the pool's threads really interleave). Those two hold
# every use of the job pool; the engine itself is single-threaded. Built by
# clang with light optimisation, and only what those tests need, to keep
# the stage short; a test that hangs fails after ten minutes.
thread_sanitizer_build() {
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" -DQUILLPRINT_TSAN=ON \
    -DQUILLPRINT_BUILD_GUI=OFF -DQUILLPRINT_BUILD_BENCH=OFF
  cmake --build build-tsan -j "$jobs" --target quillprint_workspace_tests quillprint_cli_tests quillprint-cli
}
thread_sanitizer_tests() {
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" QUILLPRINT_TEST_JOBS=3 \
    ctest --test-dir build-tsan --output-on-failure -j "$jobs" --timeout 600 \
    -R '^quillprint_(workspace|cli)_tests$'
}
stage "thread sanitizer build" thread_sanitizer_build
stage "thread sanitizer tests" thread_sanitizer_tests
