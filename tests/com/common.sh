# What the COM test scripts share; sourced as `. common.sh BUILD_DIR WORK_NAME`, after `set -euo
# pipefail`. WINEPREFIX and the other Wine settings come from the caller.
build=$(realpath "$1")
work="$build/$2"
rm -rf "$work" && mkdir -p "$work"
winpath() { echo "Z:${1//\//\\}"; }
dll=$(winpath "$build/QlxWCommon.dll")
# A 32-bit server is for 32-bit hosts: the script host of Wine's 32-bit system folder.
platform=win64 system=system32
if x86_64-w64-mingw32-objdump -f "$build/QlxWCommon.dll" | grep -q pei-i386; then
  platform=win32 system=syswow64
fi
cscript="C:\\windows\\$system\\cscript.exe"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# Registry values as hosts find them; the registry reaches its files when wineserver is done.
reg_value() {
  local output
  output=$(timeout 60 wine reg query "$1" 2>/dev/null) && tr -d '\r' <<<"$output" || true
}
