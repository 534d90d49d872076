#!/usr/bin/env bash
# Both servers registered at once, as on a 64-bit Windows with 32-bit and 64-bit hosts: each bitness's
# keys stay in its own registry view, and each host, script or early-bound, gets the server of its own
# bitness. Run it while neither is registered.
#   tests/com/side_by_side.sh BUILD_DIR_64 BUILD_DIR_32    (WINEPREFIX and the rest come from the caller)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build64=$(realpath "$1")
. "$here/common.sh" "$2" com-side-by-side
build32=$build
mkdir -p "$work/x64" "$work/x86"
# Each server in a folder of its own, so that the folder a host sees tells which one it loaded.
cp "$build64/QlxWCommon.dll" "$work/x64/"
cp "$build32/QlxWCommon.dll" "$work/x86/"
dll64=$(winpath "$work/x64/QlxWCommon.dll")
dll32=$(winpath "$work/x86/QlxWCommon.dll")

# BITS: the system folder of the programs of that bitness.
system_of() { [ "$1" = 32 ] && echo syswow64 || echo system32; }

# BITS [/u]: registers (or removes) the server of that bitness with that bitness's regsvr32.
regsvr32_of() {
  local dll=$dll64
  [ "$1" = 32 ] && dll=$dll32
  timeout 120 wine "C:\\windows\\$(system_of "$1")\\regsvr32.exe" /s ${2:-} "$dll" ||
    fail "the $1-bit regsvr32 ${2:-} exited $?"
}

echo "-- both servers registered"
regsvr32_of 64
regsvr32_of 32

# KEY BITS: the key as a host of that bitness sees it.
value() { reg_value "$1" "$(system_of "$2")"; }
for bits in 64 32; do
  [ "$bits" = 64 ] && dll=$dll64 platform=win64 || dll=$dll32 platform=win32
  clsid=$(value 'HKCR\QlxWCommon.clsCommon\CLSID' "$bits" | sed -n 's/.*REG_SZ[[:space:]]*//p')
  [ -n "$clsid" ] || { fail "no ProgID QlxWCommon.clsCommon in the $bits-bit view"; continue; }
  server=$(value "HKCR\\CLSID\\$clsid\\InprocServer32" "$bits")
  grep -qiF "$dll" <<<"$server" || fail "the $bits-bit view's clsCommon is not the $bits-bit server: $server"
  # The type library's key is one for both views; each bitness has its own subkey under it.
  value "HKCR\\TypeLib\\$library\\1.0\\0\\$platform" "$bits" | grep -qiF "$dll" ||
    fail "the type library's $platform key is not the $bits-bit server"
done

echo "-- each host gets the server of its own bitness"
# The folder manager's program folder is the folder of the server's own file.
cat >"$work/which.vbs" <<'VBS'
WScript.Echo CreateObject("QlxWCommon.FolderManager").AbsolutePath(15)
VBS
for bits in 64 32; do
  [ "$bits" = 64 ] && folder=x64 build=$build64 || folder=x86 build=$build32
  seen=$(cd "$work" && timeout 120 wine "C:\\windows\\$(system_of "$bits")\\cscript.exe" //nologo which.vbs 2>&1 | wine_output) || true
  expected=$(winpath "$work/$folder")
  [ "${seen%\\}" = "$expected" ] && echo "$bits-bit script host: $folder server" ||
    fail "the $bits-bit script host loaded [$seen], not the server in $expected"
  mkdir -p "$work/early-bound-$bits"
  seen=$(timeout 120 wine "$build/examples/qlxw_example_early_bound.exe" "$(winpath "$work/early-bound-$bits")" 2>&1 |
    wine_output) || true
  [[ "$seen" == $'Units: metric\nError 80040003: '?* ]] && echo "$bits-bit early-bound client: created and called" ||
    fail "the $bits-bit early-bound client: $seen"
done

echo "-- unregistered, in either order"
for first in 32 64; do
  other=$((96 - first))
  if [ "$first" = 64 ]; then
    regsvr32_of 64
    regsvr32_of 32
  fi
  regsvr32_of "$first" /u
  # The ProgIDs are shared: the other server keeps them.
  value 'HKCR\QlxWCommon.clsCommon\CLSID' "$other" | grep -q REG_SZ ||
    fail "removing the $first-bit server removed the $other-bit one"
  regsvr32_of "$other" /u
  for bits in 64 32; do
    [ -z "$(value 'HKCR\QlxWCommon.clsCommon' "$bits")" ] ||
      fail "clsCommon is still registered ($bits-bit view, the $first-bit server removed first)"
  done
  [ -z "$(value "HKCR\\TypeLib\\$library" 64)" ] || fail "the type library is still registered"
done

[ "$failures" -eq 0 ] || { echo "$failures side-by-side test(s) failed"; exit 1; }
echo "32-bit and 64-bit servers side by side: all tests passed"
