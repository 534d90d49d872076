#!/usr/bin/env bash
# What a host's installer relies on in a built QlxWCommon.dll, checked without running it (so also for
# a bitness this machine's Wine cannot run): the bitness of the file, COM's entry points, the embedded
# type library of that bitness, the version resource and the manifest beside it.
#   scripts/check-com-server.sh BUILD_DIR 32|64
set -euo pipefail
build=$1 bits=$2
dll="$build/QlxWCommon.dll"
case $bits in
  32) triplet=i686-w64-mingw32 format=pei-i386 syskind=1 architecture=x86 ;;
  64) triplet=x86_64-w64-mingw32 format=pei-x86-64 syskind=3 architecture=amd64 ;;
  *) echo "usage: $0 BUILD_DIR 32|64" >&2 && exit 2 ;;
esac
failures=0
fail() { echo "FAILED ($bits-bit server): $*"; failures=$((failures + 1)); }

"$triplet-objdump" -f "$dll" | grep -q "file format $format" || fail "not a $format file"
exports=$("$triplet-objdump" -p "$dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p')
for entry in DllGetClassObject DllCanUnloadNow DllRegisterServer DllUnregisterServer DllInstall; do
  grep -qE "\] $entry\$" <<<"$exports" || fail "does not export $entry"
done

resources=$("$triplet-windres" -i "$dll" -O rc 2>/dev/null) || fail "no resources"
# The library's header: its magic, then (6th word) its flags, whose low bits are the SYSKIND.
header=$(grep -A2 '^1 "TYPELIB"' <<<"$resources" | tail -n 1 | tr -d ' L' | tr ',' ' ')
read -r magic _ _ _ _ flags _ <<<"$header" || true
[ "${magic:-}" = 0x5446534d ] || fail "no embedded type library"
[ -n "${flags:-}" ] && [ $((flags & 0xf)) -eq "$syskind" ] || fail "the type library is not a $bits-bit one"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
grep -q "VALUE \"ProductName\", \"QlxWCommon\"" <<<"$resources" || fail "no product name in its version"
grep -q "VALUE \"CompanyName\", \"." <<<"$resources" && grep -q "VALUE \"LegalCopyright\", \"Copyright" <<<"$resources" ||
  fail "no company or copyright in its version"
grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" || fail "its version is not $version"

grep -q "processorArchitecture=\"$architecture\"" "$build/QlxWCommon.manifest" ||
  fail "no $architecture manifest beside it"

[ "$failures" -eq 0 ] || exit 1
echo "$bits-bit server file: entry points, $bits-bit type library, version $version, manifest"
