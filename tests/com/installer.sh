#!/usr/bin/env bash
# The server's Windows Installer package under Wine, as a desk gets it pushed: a package of a lower
# version installed quietly, then upgraded by this one, a host script run against the installed server,
# a repair, and removal. What the package writes in the registry is what regsvr32 writes, value by value;
# once it is removed nothing of it is left. Run it while the server is not registered, after the build's
# msi target.
#   tests/com/installer.sh BUILD_DIR      (WINEPREFIX and the other Wine settings come from the caller)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh" "$1" com-installer
machine_classes='HKLM\Software\Classes'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
arch=x64 folder="Program Files"
[ "$platform" = win64 ] || arch=x86 folder="Program Files (x86)"
package="$build/$(cd "$build" && ls QlxWCommon-*-"$arch".msi | head -n 1)"
[ -f "$package" ] || { fail "no package: build the msi target first"; exit 1; }
msiexec="C:\\windows\\$system\\msiexec.exe"
installed="$WINEPREFIX/drive_c/$folder/QlxWCommon"

# The classes, the installer's own bookkeeping left out.
classes() { snapshot "$machine_classes" | grep -v $'^\\\\installer\\\\' || true; }

# The values as a server at SERVER (a Windows path) writes them: that path and its folder made neutral
# (a folder is written with its final backslash by the installer, without it by automation).
neutral() {
  python3 -c '
import re, sys
server = sys.argv[1].lower().replace("\\", "\\\\")
folder = server.rsplit("\\\\", 1)[0]
for line in sys.stdin:
    line = line.replace(server, "<server>")
    print(re.sub(re.escape(folder) + r"(\\\\)?(?=\")", "<folder>", line), end="")' "$1"
}

# The versions of the product the system lists as installed.
versions() {
  timeout 60 wine "$reg" query "$uninstall_key" /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ { ours = 0 } /DisplayName.*QlxWCommon/ { ours = 1 } ours && /DisplayVersion/ { print $NF }' |
    sort | tr '\n' ' '
}

# msiexec ACTION PACKAGE [PROPERTY=VALUE ...], quiet.
msi() {
  local action=$1 file=$2
  shift 2
  timeout 300 wine "$msiexec" "$action" "$(winpath "$file")" "$@" /qn || fail "msiexec $action exited $?"
  timeout 120 wineserver -w || true
}

echo "-- the package's tables"
# The bitness in its summary and in every component (256: a 64-bit one; 4: kept by a registry value),
# the server registered under its bitness's key alone, and the files.
template=$(msiinfo suminfo "$package" | sed -n 's/^Template: //p')
[ "$template" = "$([ "$arch" = x64 ] && echo x64 || echo Intel);1033" ] || fail "the package's platform: $template"
attributes=$(msiinfo export "$package" Component | awk -F'\t' 'NR > 3 { print $4 }' | sort -u | tr '\n' ' ')
[ "$attributes" = "$([ "$arch" = x64 ] && echo "256 260 " || echo "0 4 ")" ] ||
  fail "the components are not all of the package's bitness: $attributes"
rows=$(msiinfo export "$package" Registry | tr -d '\r')
[ "$(grep -cF "\\0\\$platform"$'\t' <<<"$rows")" = 1 ] && [ "$(grep -cE '\\0\\win(32|64)'$'\t' <<<"$rows")" = 1 ] ||
  fail "the type library is not registered under $platform alone"
echo "$(($(wc -l <<<"$rows") - 3)) registry rows, $(msiinfo export "$package" File | tail -n +4 | cut -f3 | tr '\n' ' ')"

before=$(classes)
timeout 120 wine "$regsvr32" /s "$dll" || fail "regsvr32 exited $?"
by_regsvr32=$(comm -13 <(echo "$before") <(classes) | neutral "$dll")
timeout 120 wine "$regsvr32" /s /u "$dll" || fail "regsvr32 /u exited $?"

echo "-- a lower version, then this one over it"
stage="$build/msi-$arch"
python3 "$here/../../scripts/msi_source.py" --idl "$here/../../resources/QlxWCommon.idl" \
  --classes "$here/../../com/classes/class_table.list" --arch "$arch" --version 0.0.1 --output "$stage/older.wxs"
wixl -a "$arch" -o "$work/older.msi" "$stage/older.wxs" 2>/dev/null || fail "wixl could not make the lower version"
msi /i "$work/older.msi"
[ "$(versions)" = "0.0.1 " ] || fail "the lower version is not the one installed: $(versions)"
msi /i "$package"
version=$(basename "$package" | sed 's/^QlxWCommon-\(.*\)-[a-z0-9]*\.msi$/\1/')
[ "$(versions)" = "$version " ] || fail "the upgrade left installed: $(versions)"
by_package=$(comm -13 <(echo "$before") <(classes) | neutral "C:\\$folder\\QlxWCommon\\QlxWCommon.dll")
if [ "$by_package" = "$by_regsvr32" ]; then
  echo "registry: $(wc -l <<<"$by_package") values, those regsvr32 writes"
else
  fail "the package's registry differs from regsvr32's (< regsvr32, > package):"
  diff <(echo "$by_regsvr32") <(echo "$by_package") | head -n 20
fi
for file in QlxWCommon.dll QlxWCommon.tlb QlxWCommon.manifest include/QlxWCommon.idl include/QlxWCommon_h.h \
  include/QlxWCommon_i.c; do
  [ -f "$installed/$file" ] || fail "not installed: $file"
done
mkdir -p "$work/installed" "$work/repaired"
run_script ini_managers.vbs "$work/installed"

echo "-- a repair brings back a file that went"
rm -f "$installed/QlxWCommon.dll"
# What msiexec /fa asks for; Wine's msiexec takes only a product code after /f, and does not act on one.
msi /i "$package" REINSTALL=ALL REINSTALLMODE=amus
[ -f "$installed/QlxWCommon.dll" ] || fail "the repair did not bring the server back"
run_script ini_managers.vbs "$work/repaired"

echo "-- removal"
msi /x "$package"
after=$(classes)
[ "$after" = "$before" ] || {
  fail "the removal left registry values (< before, > after):"
  diff <(echo "$before") <(echo "$after") | head -n 20
}
[ ! -e "$installed" ] || fail "the removal left $installed"
[ -z "$(versions)" ] || fail "the system still lists the product: $(versions)"

[ "$failures" -eq 0 ] || { echo "$failures installer test(s) failed"; exit 1; }
echo "installer: all tests passed"
