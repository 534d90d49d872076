' A host script's first steps with QlxWCommon: the root object, the INI file, a value written and read
' back, a default written back, an error with its number and text.
'   cscript //nologo settings.vbs FOLDER       (FOLDER: where the example's INI file goes)
Option Explicit
Dim common, ini, folder
If WScript.Arguments.Count <> 1 Then
  WScript.Echo "usage: cscript //nologo settings.vbs FOLDER   (FOLDER: where the example's INI file goes)"
  WScript.Quit 2
End If
folder = WScript.Arguments(0)

Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5                              ' the host's main version: INIManager5 behind it
common.INIFileName = folder & "\example.ini"    ' once per thread

common.WriteINIValueByKey "Setup", "Units", "metric"
WScript.Echo "Units: " & common.LoadINIValueByKey("Setup", "Units")

Set ini = common.INI
WScript.Echo "Scale: " & ini.LoadINIString("Setup", "Scale", "1000")   ' written back when the host ends
WScript.Echo "Swap X and Y: " & common.gSwapXY

On Error Resume Next
common.INIFileName = folder & "\other.ini"      ' a second name is refused
WScript.Echo "Error " & Hex(Err.Number) & ": " & Err.Description
