#!/usr/bin/env bash
# A host's first use of the library against the system's scripting runtime's, each in fresh processes
# under Wine: prints the median milliseconds of each and their ratio.
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
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
declare -A figure
for kind in runtime library; do
  for ((i = 0; i < runs; i++)); do
    timeout 60 wine "C:\\windows\\$system\\cscript.exe" //nologo "$(winpath "$PWD/bench/first_use.vbs")" \
      "$kind" "$(winpath "$work")" 2>/dev/null | tr -d '\r'
  done >"$work/$kind"
  figure[$kind]=$(median <"$work/$kind")
done
ratio=$(awk -v a="${figure[library]}" -v b="${figure[runtime]}" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }')
echo "first use ($system, median of $runs fresh processes): library ${figure[library]} ms," \
  "scripting runtime ${figure[runtime]} ms, ratio $ratio"
