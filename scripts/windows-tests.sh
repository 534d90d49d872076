#!/usr/bin/env bash
# The Windows build's tests under Wine: the unit tests, then the COM server as hosts use it (regsvr32,
# host scripts, an early-bound client, regsvr32 /u). Usage: scripts/windows-tests.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-mingw}
cp "$build/libqlxwcommon.dll" "$build/tests/"
# A prefix of our own, no display, the 8-bit code page pinned (Wine takes it from the locale).
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
export LC_ALL=C.UTF-8 LANG=C.UTF-8
[ -d "$WINEPREFIX" ] || { timeout 300 wine wineboot -i >/dev/null 2>&1 || true; timeout 120 wineserver -w || true; }
log="$build/wine-tests.log"
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
timeout 60 wineserver -k || true
