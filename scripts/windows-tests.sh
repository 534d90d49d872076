#!/usr/bin/env bash
# The Windows builds' tests under Wine, for each bitness given: the unit tests, then the COM server as
# hosts use it (regsvr32, host scripts, an early-bound client, DDE, regsvr32 /u, per-user registration,
# registration-free use), its Windows Installer package (install, upgrade, repair, removal) and what its
# installation delivers; with both, the two servers registered side
# by side. 32-bit programs run in a private 32-bit Wine under qemu-i386 (scripts/wine32.sh), set up once
# in the 32-bit build folder; a 32-bit part that cannot run fails the run.
#   scripts/windows-tests.sh [BUILD_DIR [BUILD_DIR_32]]     (64-bit build, then the 32-bit one)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-mingw}
build32=${2:-}
scripts/check-com-server.sh "$build" 64
[ -z "$build32" ] || scripts/check-com-server.sh "$build32" 32
# One prefix for both bitnesses, no display, the 8-bit code page pinned (Wine takes it from the locale).
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
export LC_ALL=C.UTF-8 LANG=C.UTF-8
[ -d "$WINEPREFIX" ] || { timeout 300 wine wineboot -i >/dev/null 2>&1 || true; timeout 120 wineserver -w || true; }
if [ -n "$build32" ]; then
  wine32_env=$(scripts/wine32.sh "$build32/wine32" "$WINEPREFIX")
  . "$wine32_env"
  # A program that cannot start under Wine still exits 0: only its output tells.
  version=$(timeout 120 wine "$build32/cli/qlxw.exe" --version 2>/dev/null | tr -d '\r' || true)
  [[ "$version" == qlxw\ * ]] || {
    echo "FAILED: the 32-bit qlxw.exe does not run under the private 32-bit Wine:"
    echo "$version" | tail -n 5
    exit 1
  }
  [ -f "$build32/tests/qlxw_tests.exe" ] && [ -f "$build32/tests/com/qlxw_com_client_tests.exe" ] || {
    echo "FAILED: the 32-bit build has no tests: configure it with -DQLXW_BUILD_TESTS=ON"
    exit 1
  }
fi
# A drive mapped to a folder, as a network drive is: the file lock must know the file by either name.
mapped="$PWD/$build/mapped-drive"
mkdir -p "$mapped"
ln -sfn "$mapped" "$WINEPREFIX/dosdevices/m:"
export QLXW_TEST_MAPPED_DRIVE='M:' QLXW_TEST_MAPPED_FOLDER="Z:${mapped//\//\\}"

# BUILD_DIR: the unit tests; the library and its runtime lie beside them.
unit_tests() {
  local log="$1/wine-tests.log"
  timeout 1200 wine "$1/tests/qlxw_tests.exe" >"$log" 2>&1 || {
    grep -E "Failure|FAILED|Unhandled" -A6 "$log" | head -n 60 || true
    exit 1
  }
  # A crash after the last test can still exit 0 under Wine: the summary must be there, the crash not.
  if grep -q "Unhandled" "$log" || ! grep -q "^\[  PASSED  \]" "$log"; then
    grep -E "Unhandled|FAILED|qemu" -A6 "$log" | head -n 40 || true
    exit 1
  fi
  grep -E "^\[  (PASSED|SKIPPED) " "$log"
  sweep_count "$log"
}

# The file fault sweep's count of injected failures, from a unit test log.
sweep_count() {
  tr -d '\r' <"$1" | grep '^file fault sweep' || { echo "the file fault sweep did not run"; exit 1; }
}

# BUILD_DIR: a write through a symbolic link (made on the Unix side: Wine 8 makes none itself) reaches
# the file it leads to and keeps the link; a file with a second name keeps it; a delete through a link
# to a missing file keeps the link and leaves no file.
links_kept() {
  local dir
  dir="$(realpath "$1")/links-check"
  rm -rf "$dir" && mkdir -p "$dir"
  printf '[S]\r\nk=old\r\n' >"$dir/real.ini"
  ln -s real.ini "$dir/link.ini" && ln "$dir/real.ini" "$dir/second.ini" && ln -s gone.ini "$dir/dangling.ini"
  for name in link second; do
    timeout 120 wine "$1/cli/qlxw.exe" --ini "Z:${dir//\//\\}\\$name.ini" ini set S "$name" written >/dev/null 2>&1 ||
      { echo "FAILED: the write through $name.ini of $1 was not done" && exit 1; }
  done
  timeout 120 wine "$1/cli/qlxw.exe" profile write "Z:${dir//\//\\}\\dangling.ini" S k --delete-key >/dev/null 2>&1 ||
    { echo "FAILED: the delete through dangling.ini of $1 failed" && exit 1; }
  [ -L "$dir/link.ini" ] && cmp -s "$dir/real.ini" "$dir/second.ini" &&
    [ "$(tr -d '\r' <"$dir/real.ini")" = $'[S]\nk=old\nlink=written\nsecond=written' ] ||
    { echo "FAILED: a write through a link of $1 did not keep the link or reach its file" && exit 1; }
  [ -L "$dir/dangling.ini" ] && [ ! -e "$dir/gone.ini" ] ||
    { echo "FAILED: a delete through a link to a missing file of $1 did not keep the link or left a file" && exit 1; }
  echo "links kept"
}

# BUILD_DIR: what `cmake --install` delivers.
installation() {
  local root="$1/install-check" file
  rm -rf "$root"
  cmake --install "$1" --prefix "$root" >/dev/null
  (cd "$root" && find bin include/QlxWCommon -type f -name 'QlxWCommon*' | sort)
  local files=(bin/QlxWCommon.dll bin/QlxWCommon.manifest bin/QlxWCommon.tlb bin/libqlxwcommon.dll bin/qlxw.exe
    include/QlxWCommon/QlxWCommon.idl include/QlxWCommon/QlxWCommon_h.h include/QlxWCommon/QlxWCommon_i.c)
  # The 32-bit library shares the C++ runtime with its callers: the runtime's DLLs come with it.
  if [ "$1" = "$build32" ]; then
    files+=(bin/libgcc_s_dw2-1.dll bin/libstdc++-6.dll bin/libwinpthread-1.dll)
  fi
  for file in "${files[@]}"; do
    [ -f "$root/$file" ] || { echo "FAILED: the installation of $1 has no $file" && exit 1; }
  done
  # The installed command runs from the installation alone.
  [[ "$(timeout 120 wine "$root/bin/qlxw.exe" --version 2>/dev/null | tr -d '\r')" == qlxw\ * ]] ||
    { echo "FAILED: the installed qlxw.exe of $1 does not run" && exit 1; }
}

# BUILD_DIR EXCLUDED: the unit tests, each in a process of its own, but those EXCLUDED (a GoogleTest
# filter). For the 32-bit build: qemu 7.2 gives all threads of a 32-bit process one thread-segment slot,
# so once a second thread has started (a test's own, or GoogleTest's watcher of its thread-locals), the
# first runs on the other's thread block and whatever follows in that process is void. The tests that
# start a thread cannot run there: those that start one themselves, and those that use SCOPED_TRACE
# (GoogleTest then starts a watcher thread for its thread-locals) before they are done.
unit_tests_one_by_one() {
  local log="$1/wine-tests.log" listing test output limit passed=0 failed=0 skipped=0
  : >"$log"
  listing=$(timeout 120 wine "$1/tests/qlxw_tests.exe" --gtest_list_tests --gtest_filter="-$2" 2>/dev/null | tr -d '\r')
  for test in $(awk '/^[^ ]/ { suite = $1 } /^  [^ ]/ { print suite $1 }' <<<"$listing"); do
    limit=120
    [[ "$test" != FileFaultSweep.* ]] || limit=1200  # hundreds of file operations, each emulated
    output=$(timeout "$limit" wine "$1/tests/qlxw_tests.exe" --gtest_filter="$test" 2>&1 | tr -d '\r') || true
    echo "$output" >>"$log"
    if grep -q "^\[  SKIPPED \] 1 test" <<<"$output"; then
      skipped=$((skipped + 1))
    elif grep -q "^\[  PASSED  \] 1 test" <<<"$output" && ! grep -q "Unhandled" <<<"$output"; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1))
      echo "FAILED: $test"
      grep -E "Failure|Unhandled|qemu" -A6 <<<"$output" | head -n 20 || true
    fi
  done
  echo "$passed passed, $failed failed, $skipped skipped (each test in its own process; left out: $2)"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ] && sweep_count "$log"
}

# What the 32-bit Wine cannot run: the tests that start a thread of their own, and those found by running
# each test alone to start GoogleTest's (for SCOPED_TRACE) and then fail or hang on the other thread's
# thread block. The lock spellings start one, and two of them are skipped under any Wine.
threaded_tests="RootObject.EachThreadMakesItsOwnOnDemand:FileLock.*:*FileLockSpellings.*"
threaded_tests+=":*FileWritePaths.AReaderHalfway*:IniManagers.WriteBackLeavesAnotherWritersValue"
threaded_tests+=":LanguageChange.EverySubscriptionOfTheThreadSetsTheCurrentLanguageNoneLeavesIt"
threaded_tests+=":LocalizedStrings.ALookupBeforeAnyLanguageIsInTheRuntimesAndSetsNoneEachThreadItsOwn"
threaded_tests+=":ThreadStates.EachThreadHasItsOwnAndEndsItWithTheThread:ProfileCache.*"

echo "-- 64-bit: unit tests"
unit_tests "$build"
links_kept "$build"
tests/com/run.sh "$build"
# The COM reference in docs/ is made from the type library: it must match the one just built.
scripts/update-com-reference.sh "$build" "$build/com-reference.md"
diff -u docs/com-reference.md "$build/com-reference.md" >"$build/com-reference.diff" || {
  head -n 40 "$build/com-reference.diff"
  echo "docs/com-reference.md is not the type library's: run scripts/update-com-reference.sh $build"
  exit 1
}
# run.sh ends with regsvr32 /u: nothing is registered now.
tests/com/deployment.sh "$build"
cmake --build "$build" --target msi >/dev/null
tests/com/installer.sh "$build"
echo "-- 64-bit: installation"
installation "$build"

if [ -n "$build32" ]; then
  echo "-- 32-bit: unit tests"
  unit_tests_one_by_one "$build32" "$threaded_tests"
  links_kept "$build32"
  tests/com/run.sh "$build32"
  tests/com/deployment.sh "$build32"
  cmake --build "$build32" --target msi >/dev/null
  tests/com/installer.sh "$build32"
  echo "-- 32-bit: installation"
  installation "$build32"
  tests/com/side_by_side.sh "$build" "$build32"
fi
timeout 60 wineserver -k || true
