#!/usr/bin/env bash
# The server used without administrator rights, under Wine: registered for one user (regsvr32 /n
# /i:user, as installers do), then not registered at all (its activation manifest). Each way runs a
# host script. Run it while the server is not registered for the machine.
#   tests/com/deployment.sh BUILD_DIR      (WINEPREFIX and the other Wine settings come from the caller)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh" "$1" com-deployment
user_classes='HKCU\Software\Classes'
machine_classes='HKLM\Software\Classes'

echo "-- per-user registration"
[ -z "$(reg_value "$machine_classes\\QlxWCommon.clsCommon")" ] || fail "the server is registered for the machine"
# What registering for the machine writes is what registering for the user must write, elsewhere.
machine_before=$(snapshot "$machine_classes")
timeout 120 wine "$regsvr32" /s "$dll" || fail "regsvr32 exited $?"
machine_written=$(comm -13 <(echo "$machine_before") <(snapshot "$machine_classes"))
timeout 120 wine "$regsvr32" /s /u "$dll" || fail "regsvr32 /u exited $?"
user_before=$(snapshot "$user_classes")
timeout 120 wine "$regsvr32" /s /n /i:bogus "$dll" && fail "DllInstall took an unknown command line"
timeout 120 wine "$regsvr32" /s /n /i:user "$dll" || fail "regsvr32 /n /i:user exited $?"
user_written=$(comm -13 <(echo "$user_before") <(snapshot "$user_classes"))
grep -qiF "\\typelib\\$library\\1.0\\0\\$platform" <<<"$user_written" ||
  fail "the type library is not registered for the user under $platform"
if [ "$user_written" = "$machine_written" ]; then
  echo "per-user registration: $(wc -l <<<"$user_written") values, the same as the machine's"
else
  fail "the user's registration differs from the machine's (< machine, > user):"
  diff <(echo "$machine_written") <(echo "$user_written") | head -n 20
fi
[ "$(snapshot "$machine_classes")" = "$machine_before" ] || fail "registering for the user changed the machine's classes"
# Wine 8 reads classes from the machine only (HKEY_CLASSES_ROOT does not include the user's): a host
# can use the user's registration only where it does.
if [ -n "$(reg_value "HKCR\\QlxWCommon.clsCommon")" ]; then
  mkdir -p "$work/user"
  run_script ini_managers.vbs "$work/user"
else
  echo "per-user registration: host script NOT run (this Wine's HKEY_CLASSES_ROOT leaves out the user's classes)"
fi
timeout 120 wine "$regsvr32" /s /u /n /i:user "$dll" || fail "regsvr32 /u /n /i:user exited $?"
user_after=$(snapshot "$user_classes")
[ "$user_after" = "$user_before" ] || {
  fail "unregistering for the user left keys behind (< before, > after):"
  diff <(echo "$user_before") <(echo "$user_after") | head -n 20
}

echo "-- registration-free activation (nothing registered)"
[ -z "$(reg_value 'HKCR\QlxWCommon.clsCommon')" ] || fail "the server is still registered"
app="$work/app"
mkdir -p "$app"
cp "$build/QlxWCommon.dll" "$build/QlxWCommon.manifest" "$app/"
# Hosts whose own manifests depend on the server's assembly, as host applications ship: a script host
# and an early-bound one (it creates by class id).
identity=$(grep -o '<assemblyIdentity [^>]*>' "$build/QlxWCommon.manifest")
cp "$WINEPREFIX/drive_c/windows/$system/cscript.exe" "$app/host.exe"
cp "$build/examples/qlxw_example_early_bound.exe" "$app/early.exe"
for host in host early; do
  cat >"$app/$host.exe.manifest" <<MANIFEST
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <dependency><dependentAssembly>$identity</dependentAssembly></dependency>
</assembly>
MANIFEST
done
run_script ini_managers.vbs "$app" host.exe
seen=$(timeout 120 wine "$app/early.exe" "$(winpath "$app")" 2>&1 | wine_output) || true
[[ "$seen" == $'Units: metric\nError 80040003: '?* ]] && echo "early-bound host: created through the manifest" || fail "the early-bound host: $seen"
# Every class the server makes, by its ProgID (once the library is set up); the others not at all.
{
  printf '%s\n' 'Set root = CreateObject("QlxWCommon.clsCommon")' 'root.MainVer = 5' \
    'root.INIFileName = FreshIni("classes.ini")' 'On Error Resume Next'
  for class in $creatable; do printf 'Set made = CreateObject("QlxWCommon.%s")\nCheckError "%s", 0, Null\n' "$class" "$class"; done
  for class in $noncreatable; do
    printf 'Set made = CreateObject("QlxWCommon.%s")\nCheckTrue "%s is not creatable", Err.Number <> 0\nErr.Clear\n' "$class" "$class"
  done
  echo 'Finish'
} >"$work/classes.vbs"
run_script "$work/classes.vbs" "$app" host.exe
[ "$failures" -eq 0 ] || { echo "$failures deployment test(s) failed"; exit 1; }
echo "per-user registration and registration-free activation: all tests passed"
