#!/usr/bin/env bash
# Writes docs/com-reference.md from the type library of a Windows build, under Wine, with each class's
# example from examples/classes. Fails, naming them, when a class, interface, enum, record or member has
# no helpstring in the IDL, a member of an interface no "raises" entry (its own or its interface's), or
# a creatable class no example.
# Usage: scripts/update-com-reference.sh [BUILD_DIR] [OUTPUT]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-mingw}
output=${2:-docs/com-reference.md}
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
[ -d "$WINEPREFIX" ] || { timeout 300 wine wineboot -i >/dev/null 2>&1 || true; timeout 120 wineserver -w || true; }
tool="$build/tools/com_reference/qlxw_com_reference.exe"
checks=(--require-help --require-raises --examples examples/classes)
timeout 120 wine "$tool" "${checks[@]}" "$build/QlxWCommon.dll" | tr -d '\r' >"$output.new" || {
  rm -f "$output.new"
  exit 1
}
mv "$output.new" "$output"
