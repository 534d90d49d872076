# What the COM test scripts share; sourced as `. common.sh BUILD_DIR WORK_NAME`, after `set -euo
# pipefail`. WINEPREFIX and the other Wine settings come from the caller.
build=$(realpath "$1")
work="$build/$2"
rm -rf "$work" && mkdir -p "$work"
winpath() { echo "Z:${1//\//\\}"; }
dll=$(winpath "$build/QlxWCommon.dll")
# A 32-bit server is for 32-bit hosts: the programs of Wine's 32-bit system folder register it, use it
# and read the registry as 32-bit hosts see it.
platform=win64 system=system32
if x86_64-w64-mingw32-objdump -f "$build/QlxWCommon.dll" | grep -q pei-i386; then
  platform=win32 system=syswow64
fi
cscript="C:\\windows\\$system\\cscript.exe"
regsvr32="C:\\windows\\$system\\regsvr32.exe"
reg="C:\\windows\\$system\\reg.exe"
library='{ADF5E175-8483-44F0-98C3-37ED0802E0D4}'
# What a program printed, without CRs and without the private 32-bit Wine's note that it has no fonts.
wine_output() {
  tr -d '\r' | grep -v -e '^Wine cannot find the FreeType' -e '^use TrueType fonts please' \
    -e '^or equal to 2\.0\.5' -e '^http://www\.freetype\.org' || true
}
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
# The classes the server makes, from its one table, and the coclasses of the IDL that table leaves out.
creatable=$(sed 's/#.*//' "$here/../../com/classes/class_table.list" | awk 'NF { print $1 }')
[ -n "$creatable" ] || fail "no class in com/classes/class_table.list"
noncreatable=$(sed -n 's/^[[:space:]]*coclass[[:space:]]\{1,\}\([A-Za-z0-9_]*\).*/\1/p' "$here/../../resources/QlxWCommon.idl" |
  grep -vxF -f <(echo "$creatable") || true)

# KEY [SYSTEM]: the key's values as hosts of the server's bitness find them (or those of the programs
# of SYSTEM, system32 or syswow64); nothing when it is missing (reg says so on standard output).
reg_value() {
  local output
  output=$(timeout 60 wine "C:\\windows\\${2:-$system}\\reg.exe" query "$1" 2>/dev/null) &&
    tr -d '\r' <<<"$output" || true
}

# SCRIPT DIR [CSCRIPT]: a host script (a name in tests/com/scripts, or a path), run from DIR; passes on
# its own summary.
run_script() {
  local source=$1 name=${1##*/} dir=$2 cscript=${3:-$cscript} output summary
  [[ "$source" == */* ]] || source="$here/scripts/$name"
  cat "$here/scripts/check.vbs" "$source" >"$dir/$name"
  # Wine's cscript exits 0 even when a script cannot run: only the script's own summary counts.
  output=$(cd "$dir" && QLXW_TEST_DIR=$(winpath "$dir") timeout 120 wine "$cscript" //nologo "$name" 2>&1 |
    wine_output) || true
  summary=$(tail -n 1 <<<"$output")
  if [[ "$summary" =~ ^[0-9]+\ passed,\ 0\ failed$ ]]; then
    echo "$name: $summary"
  else
    fail "$name"
    echo "$output" | tail -n 30
  fi
}

# The values under a classes root, one "key<TAB>value" line each, the root left out, in lower case (key
# names are not case-sensitive). Wine mirrors the machine's interfaces into the 32-bit view
# (Wow6432Node); a user's interfaces are shared by both views, so that copy is left out.
snapshot() {
  local file="$work/snapshot.reg"
  # A missing key holds no values: the same as an empty one.
  timeout 60 wine "$reg" export "$1" "$(winpath "$file")" /y >/dev/null 2>&1 || return 0
  iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' |
    awk '/^\[/ { key = substr($0, 2, length($0) - 2); sub(/^[^\\]*\\Software\\Classes/, "", key); next }
         NF && key != "" && tolower(key) !~ /^\\wow6432node\\/ { print tolower(key "\t" $0) }' | sort
}
