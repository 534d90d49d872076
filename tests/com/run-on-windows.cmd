@echo off
rem The COM suite on a real Windows machine, from an administrator prompt, in a folder holding
rem QlxWCommon.dll, qlxw_filler_host.dll and qlxw_com_client_tests.exe of one build (32-bit on a 32-bit
rem Windows; on a 64-bit Windows a 32-bit build's DLLs are registered and run by C:\Windows\SysWOW64's
rem regsvr32 and cscript, which this picks by the system folder given as the second argument).
rem   run-on-windows.cmd SCRIPTS_FOLDER [SYSTEM_FOLDER]
rem SCRIPTS_FOLDER is tests\com\scripts of the sources. The stand-in PDF viewer is not registered (that
rem would replace the machine's own program for .pdf files), so the client's DDE case is left out.
setlocal enabledelayedexpansion
if "%~1"=="" (
  echo usage: run-on-windows.cmd SCRIPTS_FOLDER [SYSTEM_FOLDER]
  exit /b 2
)
set scripts=%~f1
set system=%~2
if "%system%"=="" set system=%SystemRoot%\System32
set QLXW_TEST_DIR=%CD%\com-tests
if exist "%QLXW_TEST_DIR%" rmdir /s /q "%QLXW_TEST_DIR%"
mkdir "%QLXW_TEST_DIR%"
set failures=0

"%system%\regsvr32.exe" /s "%CD%\QlxWCommon.dll" || (echo FAILED: regsvr32 QlxWCommon.dll & exit /b 1)
rem The filler's component: its two classes under the ProgIDs the filler derives.
for %%c in ("QlxWFillerHostRes.Core {07AC82DA-61F9-4169-9E92-C076722D5DB1}" "FillerAppRes.Core {BF0FF02F-7A7E-4D6C-A4D7-F246D2E3BF7C}") do (
  for /f "tokens=1,2" %%p in (%%c) do (
    "%system%\reg.exe" add "HKCR\%%p\CLSID" /ve /d "%%q" /f >nul
    "%system%\reg.exe" add "HKCR\CLSID\%%q\InprocServer32" /ve /d "%CD%\qlxw_filler_host.dll" /f >nul
    "%system%\reg.exe" add "HKCR\CLSID\%%q\InprocServer32" /v ThreadingModel /d Apartment /f >nul || set /a failures+=1
  )
)

rem Each host script runs behind the shared checks and passes on its own last line.
for %%s in ("%scripts%\*.vbs") do (
  if /i not "%%~nxs"=="check.vbs" (
    copy /b "%scripts%\check.vbs" + "%%s" "%QLXW_TEST_DIR%\%%~nxs" >nul
    pushd "%QLXW_TEST_DIR%"
    set summary=
    for /f "delims=" %%l in ('""%system%\cscript.exe" //nologo "%%~nxs""') do set summary=%%l
    popd
    echo %%~nxs: !summary!
    echo !summary! | findstr /r /c:"^[0-9]* passed, 0 failed" >nul || set /a failures+=1
  )
)

pushd "%QLXW_TEST_DIR%"
"%CD%\..\qlxw_com_client_tests.exe" --gtest_filter=-*HelpCommandsArriveAtTheViewersDdeServer* || set /a failures+=1
popd

for %%c in ("QlxWFillerHostRes.Core {07AC82DA-61F9-4169-9E92-C076722D5DB1}" "FillerAppRes.Core {BF0FF02F-7A7E-4D6C-A4D7-F246D2E3BF7C}") do (
  for /f "tokens=1,2" %%p in (%%c) do (
    "%system%\reg.exe" delete "HKCR\%%p" /f >nul
    "%system%\reg.exe" delete "HKCR\CLSID\%%q" /f >nul
  )
)
"%system%\regsvr32.exe" /s /u "%CD%\QlxWCommon.dll"
if %failures% neq 0 (
  echo %failures% COM test run^(s^) failed
  exit /b 1
)
echo COM server: all tests passed
