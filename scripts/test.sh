#!/usr/bin/env bash
# The whole test suite: formatting, the ordinary build and its tests, static analysis, a bounded fuzzing
# run, and the tests again under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh

echo "== formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build -j "$jobs" --output-on-failure

echo "== static analysis"
run-clang-tidy-14 -p build -quiet "$(pwd)/(src|platform/posix|platform/[a-z_]+\.cpp|cli)/?" >build/clang-tidy.log 2>&1 || {
  grep -E "(warning|error):" build/clang-tidy.log | sort -u
  exit 1
}

echo "== fuzzing the profile reader and writer (60 s)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLXW_FUZZ=ON \
  -DQLXW_BUILD_TESTS=OFF -DQLXW_BUILD_CLI=OFF -DQLXW_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target profile_fuzzer
rm -rf build-fuzz/corpus && mkdir -p build-fuzz/corpus && cp tests/fuzz/corpus/* build-fuzz/corpus/
# New finds stay in build-fuzz/corpus; a crash leaves its input in build-fuzz/ and fails the run.
build-fuzz/tests/fuzz/profile_fuzzer -max_total_time=60 -artifact_prefix=build-fuzz/ build-fuzz/corpus \
  >build-fuzz/fuzz.log 2>&1 || {
  tail -n 30 build-fuzz/fuzz.log
  exit 1
}
tail -n 1 build-fuzz/fuzz.log

echo "== Windows: cross-build with mingw-w64, then the tests and the COM server under Wine"
cmake -S . -B build-mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQLXW_BUILD_TESTS=ON -DQLXW_BUILD_BENCH=OFF >/dev/null
cmake --build build-mingw -j "$jobs"
cp build-mingw/libqlxwcommon.dll build-mingw/tests/
# A prefix of our own, no display, the 8-bit code page pinned (Wine takes it from the locale).
export WINEPREFIX="$PWD/build-mingw/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
(
  unset DISPLAY
  export LC_ALL=C.UTF-8 LANG=C.UTF-8
  [ -d "$WINEPREFIX" ] || { timeout 300 wine wineboot -i >/dev/null 2>&1 || true; timeout 120 wineserver -w || true; }
  timeout 600 wine build-mingw/tests/qlxw_tests.exe >build-mingw/wine-tests.log 2>&1 || {
    grep -E "Failure|FAILED|Unhandled" -A6 build-mingw/wine-tests.log | head -n 60
    exit 1
  }
  # A crash after the last test can still exit 0 under Wine: the summary must be there, the crash not.
  if grep -q "Unhandled" build-mingw/wine-tests.log || ! grep -q "^\[  PASSED  \]" build-mingw/wine-tests.log; then
    grep -E "Unhandled|FAILED" -A6 build-mingw/wine-tests.log | head -n 40
    exit 1
  fi
  grep -E "^\[  (PASSED|SKIPPED) " build-mingw/wine-tests.log
  # The COM server as hosts use it: regsvr32, host scripts, an early-bound client, regsvr32 /u.
  tests/com/run.sh build-mingw
  timeout 60 wineserver -k || true
)

echo "== sanitizer build and tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQLXW_SANITIZE=ON -DQLXW_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan -j "$jobs" --output-on-failure
