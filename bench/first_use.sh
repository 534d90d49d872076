#!/usr/bin/env bash
# A host's first use of the library against the system's scripting runtime's, each in fresh processes
# under Wine, timed two ways: by a script (bench/first_use.vbs, VBScript's Timer, in steps of about 1 ms)
# and by a client without a script engine (bench/qlxw_first_use.exe, the performance counter, which also
# times each step). Prints the median milliseconds of each and their ratio.
# Usage: bench/first_use.sh BUILD_DIR [RUNS]   (the build's QlxWCommon.dll, registered for the run)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1") runs=${2:-15}
export WINEPREFIX=${WINEPREFIX:-$build/wine-prefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
winpath() { echo "Z:${1//\//\\}"; }
system=system32
x86_64-w64-mingw32-objdump -f "$build/QlxWCommon.dll" | grep -q pei-i386 && system=syswow64
[ -d "$WINEPREFIX" ] || { timeout 300 wine wineboot -i >/dev/null 2>&1 || true; timeout 120 wineserver -w || true; }
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
printf '[Values]\r\nName=value\r\n' >"$work/first-use.ini"
dll=$(winpath "$build/QlxWCommon.dll")
timeout 120 wine "C:\\windows\\$system\\regsvr32.exe" /s "$dll"
trap 'timeout 120 wine "C:\\windows\\$system\\regsvr32.exe" /s /u "$dll"; rm -rf "$work"' EXIT
client=$build/bench/qlxw_first_use.exe
[ -f "$client" ] || echo "no $client: the script's figures only"
# Each run takes both kinds, one after the other, so that what else the machine does falls on both.
for ((i = 0; i < runs; i++)); do
  for kind in library runtime; do
    timeout 60 wine "C:\\windows\\$system\\cscript.exe" //nologo "$(winpath "$PWD/bench/first_use.vbs")" \
      "$kind" "$(winpath "$work")" 2>/dev/null | tr -d '\r' >>"$work/script-$kind"
    [ -f "$client" ] && timeout 60 wine "$client" "$kind" "$(winpath "$work")" 2>/dev/null | tr -d '\r' >>"$work/client-$kind"
  done
done
# The median of column $1 of each line.
median() { cut -f "$1" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
report() {
  local how=$1 library runtime
  library=$(median 1 <"$work/$how-library") runtime=$(median 1 <"$work/$how-runtime")
  echo "first use by $how ($system, median of $runs fresh processes): library $library ms," \
    "scripting runtime $runtime ms, ratio $(ratio "$library" "$runtime")"
}
report script
if [ -f "$client" ]; then
  report client
  echo "  library's steps: creation $(median 2 <"$work/client-library"), MainVer $(median 3 <"$work/client-library")," \
    "INIFileName $(median 4 <"$work/client-library"), LoadINIValueByKey $(median 5 <"$work/client-library") ms"
  echo "  runtime's steps: Dictionary $(median 2 <"$work/client-runtime"), Add $(median 3 <"$work/client-runtime")," \
    "FileSystemObject $(median 4 <"$work/client-runtime"), FileExists $(median 5 <"$work/client-runtime") ms"
fi
