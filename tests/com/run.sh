#!/usr/bin/env bash
# The COM server as hosts use it, under Wine: regsvr32 registers it, script tests drive it through
# CreateObject, an early-bound client calls it through its vtables and events, regsvr32 /u removes it.
#   tests/com/run.sh BUILD_DIR      (WINEPREFIX and the other Wine settings come from the caller)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh" "$1" com-tests

echo "-- regsvr32"
timeout 120 wine "$regsvr32" /s "$dll" || fail "regsvr32 exited $?"
for class in $creatable; do
  clsid=$(reg_value "HKCR\\QlxWCommon.$class\\CLSID" | sed -n 's/.*REG_SZ[[:space:]]*//p')
  [ -n "$clsid" ] || { fail "no ProgID QlxWCommon.$class"; continue; }
  server=$(reg_value "HKCR\\CLSID\\$clsid\\InprocServer32")
  grep -qi "QlxWCommon.dll" <<<"$server" || fail "$class: InprocServer32 is not the DLL"
  grep -q "Apartment" <<<"$server" || fail "$class: threading model is not Apartment"
  reg_value "HKCR\\QlxWCommon.$class\\CurVer" | grep -q "QlxWCommon.$class.1" || fail "$class: no CurVer"
done
# Those not made by the server (KeyValue, clsFSCOld) have no ProgID.
for class in $noncreatable; do
  [ -z "$(reg_value "HKCR\\QlxWCommon.$class\\CLSID")" ] || fail "QlxWCommon.$class is creatable"
done
# Under the key of the server's bitness.
reg_value "HKCR\\TypeLib\\$library\\1.0\\0\\$platform" | grep -qi "QlxWCommon.dll" ||
  fail "the type library is not registered under $platform"
# Dual interfaces are marshalled through the type library, for callers in other apartments.
reg_value "HKCR\\Interface\\{664AEEDF-3F84-43BC-A36E-4A47F5AB458B}\\TypeLib" | grep -qi "ADF5E175" ||
  fail "_INIManager is not registered for marshalling"

echo "-- a host's resource component for the menu filler (registered from the scripts' folder)"
cp "$build/tests/com/qlxw_filler_host.dll" "$work/"
component=$(winpath "$work/qlxw_filler_host.dll")
# Its two classes under the ProgIDs the filler derives (from the type library's name, from EXEName), as
# an installer would write them, and what removes them again.
printf 'REGEDIT4\n' | tee "$work/filler.reg" >"$work/filler-removed.reg"
for entry in "QlxWFillerHostRes.Core {07AC82DA-61F9-4169-9E92-C076722D5DB1}" \
  "FillerAppRes.Core {BF0FF02F-7A7E-4D6C-A4D7-F246D2E3BF7C}"; do
  read -r progid clsid <<<"$entry"
  printf '[HKEY_CLASSES_ROOT\\%s\\CLSID]\n@="%s"\n[HKEY_CLASSES_ROOT\\CLSID\\%s\\InprocServer32]\n@="%s"\n"ThreadingModel"="Apartment"\n' \
    "$progid" "$clsid" "$clsid" "${component//\\/\\\\}" >>"$work/filler.reg"
  printf '[-HKEY_CLASSES_ROOT\\%s]\n[-HKEY_CLASSES_ROOT\\CLSID\\%s]\n' "$progid" "$clsid" >>"$work/filler-removed.reg"
done
timeout 60 wine "$reg" import "$(winpath "$work/filler.reg")" >/dev/null 2>&1 || fail "cannot register the filler's component"

echo "-- scripts"
# The legacy controller keeps its folders for the user, whatever the bitness: none from an earlier run.
timeout 60 wine "$reg" delete 'HKCU\Software\QlxWCommon' /f >/dev/null 2>&1 || true
export QLXW_TEST_DIR
QLXW_TEST_DIR=$(winpath "$work")
for script in "$here"/scripts/*.vbs; do
  name=$(basename "$script")
  [ "$name" = check.vbs ] && continue
  run_script "$name" "$work"
done

echo "-- examples/classes (Wine's cscript reports no script error: each passes when it runs to its end)"
mkdir -p "$work/classes"
for example in "$here"/../../examples/classes/*.vbs; do
  name=$(basename "$example")
  { cat "$example"; printf '\r\nWScript.Echo "ran to its end"\r\n'; } >"$work/classes/$name"
  # Not through wine_output: the library's texts may be in an 8-bit code page, which grep takes for binary.
  status=0
  output=$(cd "$work" && timeout 120 wine "$cscript" //nologo "$(winpath "$work/classes/$name")" \
    "$(winpath "$work/classes")" 2>&1 | tr -d '\r') || status=$?
  ((status == 0)) && grep -aqx "ran to its end" <<<"$output" && echo "$name: ran" ||
    { fail "examples/classes/$name (cscript exited $status)"; echo "$output"; }
done

echo "-- late-bound call timings (bench/late_bound.vbs; figures are reported, not judged)"
timings=$(cd "$work" && timeout 300 wine "$cscript" //nologo "$(winpath "$here/../../bench/late_bound.vbs")" 2000 2>&1 |
  wine_output) || true
echo "$timings"
[ "$(tail -n 1 <<<"$timings")" = done ] && ! grep -q FAILED <<<"$timings" || fail "bench/late_bound.vbs"

echo "-- a stand-in viewer for .pdf files (a DDE server for the help commands)"
viewer=$(winpath "$build/tests/com/qlxw_fake_viewer.exe")
timeout 60 wine "$reg" add 'HKCR\.pdf' /ve /d QlxwTestPdf /f >/dev/null 2>&1 || fail "cannot register .pdf"
timeout 60 wine "$reg" add 'HKCR\QlxwTestPdf\shell\open\command' /ve /d "\"$viewer\" \"%1\"" /f >/dev/null 2>&1 ||
  fail "cannot register the stand-in viewer"
# DDE runs on window messages: the client gets Wine's null display driver (windows without a screen),
# the scripts before it none at all (so that a message box returns at once).
timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 ||
  fail "cannot choose the null display driver"
# The desktop process keeps the driver it started with: let it end first.
timeout 60 wineserver -w || timeout 30 wineserver -k || true

echo "-- early-bound client"
(cd "$work" && timeout 300 wine "$build/tests/com/qlxw_com_client_tests.exe" >"$work/client.log" 2>&1) || true
grep -q "Unhandled\|^\[  FAILED  \]" "$work/client.log" || ! grep "^\[  PASSED  \]" "$work/client.log" && {
  fail "early-bound client"
  grep -E "Failure|FAILED|Unhandled|error" -A6 "$work/client.log" | head -n 60
}

timeout 60 wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
timeout 60 wine "$reg" delete 'HKCR\.pdf' /f >/dev/null 2>&1 || true
timeout 60 wine "$reg" delete 'HKCR\QlxwTestPdf' /f >/dev/null 2>&1 || true
timeout 60 wineserver -w || timeout 30 wineserver -k || true

echo "-- examples/ (what host developers start from)"
mkdir -p "$work/examples"
example=$(cd "$work" && timeout 120 wine "$cscript" //nologo "$(winpath "$here/../../examples/settings.vbs")" \
  "$(winpath "$work/examples")" 2>&1 | wine_output) || true
expected=$'Units: metric\nScale: 1000\nSwap X and Y: False\nError 80040003: '
[[ "$example" == "$expected"* ]] && echo "examples/settings.vbs: ran" || { fail "examples/settings.vbs"; echo "$example"; }
[[ "$(timeout 60 wine "$cscript" //nologo "$(winpath "$here/../../examples/settings.vbs")" 2>&1 | wine_output)" == usage:* ]] ||
  fail "examples/settings.vbs without its folder does not say how to run it"
events=$(cd "$work" && timeout 120 wine "$build/examples/qlxw_example_events.exe" 2>&1 | wine_output) || true
[ "$events" = "ChangeFontName: Tahoma" ] && echo "examples/events.cpp: heard the event" ||
  { fail "examples/events.cpp"; echo "$events"; }
# examples/early_bound.cpp runs in deployment.sh and side_by_side.sh.

echo "-- regsvr32 /u"
timeout 60 wine "$reg" import "$(winpath "$work/filler-removed.reg")" >/dev/null 2>&1 || fail "cannot remove the filler's component"
timeout 120 wine "$regsvr32" /s /u "$dll" || fail "regsvr32 /u exited $?"
for class in $creatable; do
  [ -z "$(reg_value "HKCR\\QlxWCommon.$class\\CLSID")" ] || fail "QlxWCommon.$class is still registered"
done
[ -z "$(reg_value "HKCR\\TypeLib\\$library")" ] || fail "the type library is still registered"

[ "$failures" -eq 0 ] || { echo "$failures COM test(s) failed"; exit 1; }
echo "COM server: all tests passed"
