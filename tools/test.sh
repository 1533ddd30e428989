#!/usr/bin/env bash
# Builds everything and runs every test, as CI does; prints the time of each
# stage at the end. Packages are installed only when some are missing.
#
# Every test runs at least once, in the build where it finds the most for its
# time: the engine's and workspace's unit tests under the sanitizers only, the
# command-line tests also on the release build (its golden files), the window
# tests on the release build. With --full (before a release; about twice as
# long) the release build runs the unit tests too, the window tests run under
# the sanitizers as well, the command-line tests under ThreadSanitizer, and
# the fuzzer runs four times as long.
set -euo pipefail
cd "$(dirname "$0")/.."
full=OFF
if [[ ${1:-} == --full ]]; then
  full=ON
elif [[ $# -gt 0 ]]; then
  echo "usage: tools/test.sh [--full]" >&2
  exit 2
fi
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

timings=()
report_timings() {
  echo "== time of each stage"
  printf '%s\n' "${timings[@]}"
}
trap report_timings EXIT
# The CPU seconds (user + system) of this shell's finished children.
children_cpu() {
  local stat
  read -r -a stat <"/proc/$$/stat"
  echo $(((stat[15] + stat[16]) / $(getconf CLK_TCK)))
}
# stage NAME COMMAND...: runs the command and keeps its wall and CPU time for
# the report (CPU time hardly depends on what else the machine is doing).
stage() {
  local name=$1 start=$SECONDS cpu
  cpu=$(children_cpu)
  shift
  echo "== $name"
  "$@"
  timings+=("$(printf '%5d s  %5d s CPU  %s' $((SECONDS - start)) $(($(children_cpu) - cpu)) "$name")")
}

# The program as users get it, the command-line, window, example and help tests,
# and with --full the unit tests. Warnings fail the build here, so none creeps
# in unnoticed.
release_build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLPRINT_WERROR=ON -DQUILLPRINT_UNIT_TESTS=$full
  cmake --build build -j "$jobs"
}
release_tests() { ctest --test-dir build --output-on-failure -j "$jobs"; }

# The engine's and workspace's unit tests and the command-line tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, built by clang with light
# optimisation (quicker to run, and the stack traces keep their lines). The
# engine's libFuzzer target is built in the same tree. With --full the window
# and its tests are built there too (about a minute more to build on two
# cores, and 50 CPU s of tests): the every-day run leaves them out to stay
# within its time.
sanitizer_build() {
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" -DQUILLPRINT_SANITIZE=ON -DQUILLPRINT_FUZZ=ON \
    -DQUILLPRINT_BUILD_GUI=$full -DQUILLPRINT_BUILD_BENCH=OFF
  cmake --build build-sanitize -j "$jobs"
}
# Command-line cases whose inputs are large on purpose (a copy past the phrase
# budget, JSON past its size limit): the release build runs them; under the
# sanitizers they would take minutes, and their code meets the sanitizers on
# small inputs in other cases.
large_cli_cases='CliCopies.RefusesTheLongCopyAndNamesItsPlaceAndTheOption:JsonReferences.FullTextRefusedPastItsLimit'
# Unit cases of that kind (a copy of 15,000 words, a 50 MB text): they run
# under AddressSanitizer, the one build that runs every unit test.
large_unit_cases='CopiedPassages.AFifteenThousandWordCopyIsRefusedUnlessLeftOut:ReadTextFile.ReadsAFiftyMegabyteFile'

sanitizer_tests() {
  GTEST_FILTER="-$large_cli_cases" \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" --label-exclude whole-corpus
  # That build (without the window unless --full) still installs the
  # command-line tool.
  local prefix
  prefix=$(mktemp -d)
  cmake --install build-sanitize --prefix "$prefix" >/dev/null
  test -x "$prefix/bin/quillprint-cli"
  rm -rf "$prefix"
}

# The engine under libFuzzer, one fuzzing process per core, for 30 seconds
# (two minutes with --full), starting from the inputs kept in fuzz/corpus; a
# crash or a failed check stops the script (and CI). New inputs it finds go to
# build-sanitize/fuzz-corpus, never into the repository.
fuzzing() {
  local seconds=30
  [[ $full == ON ]] && seconds=120
  mkdir -p build-sanitize/fuzz-corpus
  build-sanitize/bin/quillprint_fuzz_engine -fork="$jobs" -max_total_time="$seconds" -timeout=30 \
    -artifact_prefix=build-sanitize/ build-sanitize/fuzz-corpus fuzz/corpus
}

stage "packages" bash tools/setup.sh
stage "format of the changed lines" bash tools/check-format.sh
stage "release build" release_build
stage "release tests" release_tests
stage "Debian package" bash tools/check-package.sh build
stage "sanitizer build" sanitizer_build
stage "sanitizer tests" sanitizer_tests
stage "fuzzing" fuzzing

# The workspace tests once more under ThreadSanitizer: they hold every use of
# the job pool (the engine itself is single-threaded) and run on several
# threads. With --full the command-line tests join them, every run on three
# threads (more than the cores of a small machine, so that the pool's threads
# really interleave). Built by clang with light optimisation, and only what
# those tests need; a test that hangs fails after ten minutes. The memory-cap
# cases are left out: ThreadSanitizer has no cap of its own.
thread_sanitizer_build() {
  local targets=(quillprint_workspace_tests)
  [[ $full == ON ]] && targets+=(quillprint_cli_tests quillprint-cli)
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" -DQUILLPRINT_TSAN=ON \
    -DQUILLPRINT_BUILD_GUI=OFF -DQUILLPRINT_BUILD_BENCH=OFF
  cmake --build build-tsan -j "$jobs" --target "${targets[@]}"
}
thread_sanitizer_tests() {
  local programs='workspace'
  [[ $full == ON ]] && programs='workspace|cli'
  GTEST_FILTER="-$large_cli_cases:$large_unit_cases:CliMemory.*" \
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" QUILLPRINT_TEST_JOBS=3 \
    ctest --test-dir build-tsan --output-on-failure -j "$jobs" --timeout 600 \
    -R "^quillprint_($programs)_tests(_shard[0-9]+)?\$"
}
stage "thread sanitizer build" thread_sanitizer_build
stage "thread sanitizer tests" thread_sanitizer_tests
