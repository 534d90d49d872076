#!/usr/bin/env bash
# The whole test suite: formatting, the ordinary build and its tests, the 32-bit Linux build's tests,
# static analysis, a bounded fuzzing run, both Windows builds and their tests under Wine, and the tests
# again under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh

echo "== formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQLXW_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build -j "$jobs" --output-on-failure
# How many failures the file fault sweep injected (CTest keeps a passing test's output to itself).
(cd build/tests && ./qlxw_tests --gtest_filter='FileFaultSweep.*' | grep '^file fault sweep')

echo "== 32-bit Linux build and tests (g++ -m32, run under qemu-i386)"
# The widths of a 32-bit host (pointers, size_t, long) in all the code that is not Windows-only.
cmake -S . -B build-linux32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/linux-i386.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQLXW_WERROR=ON -DQLXW_BUILD_BENCH=OFF >/dev/null
cmake --build build-linux32 -j "$jobs"
ctest --test-dir build-linux32 -j "$jobs" --output-on-failure

echo "== static analysis"
run-clang-tidy-14 -p build -quiet -extra-arg=-Wno-unknown-warning-option "$(pwd)/(src/(base|platform/os|services|objects)|cli|tests)/" >build/clang-tidy.log 2>&1 || {
  grep -E "(warning|error):" build/clang-tidy.log | sort -u
  exit 1
}

echo "== fuzzing the profile reader and writer (60 s)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLXW_WERROR=ON -DQLXW_FUZZ=ON \
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

echo "== Windows: cross-builds with mingw-w64 (64-bit and 32-bit), then the tests and the COM server under Wine"
cmake -S . -B build-mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release -DQLXW_WERROR=ON \
  -DQLXW_BUILD_TESTS=ON -DQLXW_BUILD_BENCH=OFF >/dev/null
cmake --build build-mingw -j "$jobs"
# The build the family's 32-bit hosts load; its tests run in a private 32-bit Wine (scripts/wine32.sh).
cmake -S . -B build-mingw32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQLXW_WERROR=ON -DQLXW_BUILD_TESTS=ON -DQLXW_BUILD_BENCH=OFF >/dev/null
cmake --build build-mingw32 -j "$jobs"
scripts/windows-tests.sh build-mingw build-mingw32

echo "== static analysis of the Windows-only sources (the rest was checked natively)"
# clang-tidy reads the mingw build's commands as clang for the mingw target; it does not find the
# C++ headers of the posix-thread compiler by itself.
mingw_cxx=$(x86_64-w64-mingw32-g++-posix -print-file-name=include)/c++
run-clang-tidy-14 -p build-mingw -quiet -extra-arg=-Wno-unknown-warning-option -extra-arg=--target=x86_64-w64-mingw32 \
  -extra-arg=-isystem"$mingw_cxx" -extra-arg=-isystem"$mingw_cxx/x86_64-w64-mingw32" \
  "$(pwd)/(src/platform/os/windows|com|tests/com)/" >build-mingw/clang-tidy.log 2>&1 || {
  grep -E "(warning|error):" build-mingw/clang-tidy.log | sort -u
  exit 1
}

echo "== sanitizer build and tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQLXW_WERROR=ON -DQLXW_SANITIZE=ON -DQLXW_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan -j "$jobs" --output-on-failure
