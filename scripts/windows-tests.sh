#!/usr/bin/env bash
# The Windows builds' tests under Wine: the unit tests, then the COM server as hosts use it (regsvr32,
# host scripts, an early-bound client, regsvr32 /u, per-user registration, registration-free use) and
# what its installation delivers. The 32-bit build's server file is checked always, its COM tests run
# where this Wine can run 32-bit programs.
#   scripts/windows-tests.sh [BUILD_DIR [BUILD_DIR_32]]     (64-bit build, then the 32-bit one)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-mingw}
build32=${2:-}
scripts/check-com-server.sh "$build" 64
[ -z "$build32" ] || scripts/check-com-server.sh "$build32" 32
cp "$build/libqlxwcommon.dll" "$build/tests/"
# A prefix of our own, no display, the 8-bit code page pinned (Wine takes it from the locale).
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
export LC_ALL=C.UTF-8 LANG=C.UTF-8
[ -d "$WINEPREFIX" ] || { timeout 300 wine wineboot -i >/dev/null 2>&1 || true; timeout 120 wineserver -w || true; }
log="$build/wine-tests.log"
# A drive mapped to a folder, as a network drive is: the file lock must know the file by either name.
mapped="$PWD/$build/mapped-drive"
mkdir -p "$mapped"
ln -sfn "$mapped" "$WINEPREFIX/dosdevices/m:"
export QLXW_TEST_MAPPED_DRIVE='M:' QLXW_TEST_MAPPED_FOLDER="Z:${mapped//\//\\}"
timeout 600 wine "$build/tests/qlxw_tests.exe" >"$log" 2>&1 || {
  grep -E "Failure|FAILED|Unhandled" -A6 "$log" | head -n 60
  exit 1
}
# A crash after the last test can still exit 0 under Wine: the summary must be there, the crash not.
if grep -q "Unhandled" "$log" || ! grep -q "^\[  PASSED  \]" "$log"; then
  grep -E "Unhandled|FAILED" -A6 "$log" | head -n 40
  exit 1
fi
grep -E "^\[  (PASSED|SKIPPED) " "$log"
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

echo "-- installation"
rm -rf "$build/install-check"
cmake --install "$build" --prefix "$build/install-check" >/dev/null
(cd "$build/install-check" && find bin include/QlxWCommon -type f -name 'QlxWCommon*' | sort)
for file in bin/QlxWCommon.dll bin/QlxWCommon.manifest bin/QlxWCommon.tlb include/QlxWCommon/QlxWCommon.idl \
  include/QlxWCommon/QlxWCommon_h.h include/QlxWCommon/QlxWCommon_i.c; do
  [ -f "$build/install-check/$file" ] || { echo "FAILED: the installation has no $file" && exit 1; }
done

if [ -n "$build32" ]; then
  echo "-- 32-bit COM server"
  # A 32-bit program that cannot start under Wine still exits 0: only its output tells.
  version=$(WINEPATH="Z:${PWD//\//\\}\\$build32" timeout 60 wine "$build32/cli/qlxw.exe" --version 2>/dev/null || true)
  if [[ "$version" != qlxw\ * ]]; then
    echo "32-bit COM tests: NOT RUN (this Wine cannot run 32-bit programs; the server file was checked only)"
  elif [ ! -f "$build32/tests/com/qlxw_com_client_tests.exe" ]; then
    echo "32-bit COM tests: NOT RUN (the 32-bit build has no tests: configure it with -DQLXW_BUILD_TESTS=ON)"
  else
    tests/com/run.sh "$build32"
    tests/com/deployment.sh "$build32"
    echo "32-bit COM tests: run"
  fi
fi
timeout 60 wineserver -k || true
