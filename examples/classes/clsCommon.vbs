' The root object a host sets up first (main version, INI file, title) and what it reads through it.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
common.INIFileName = folder & "\clsCommon.ini"
common.sAppTitle = "Survey Desk"
common.WriteINIValueByKey "xy", "SwapXY", "true"
WScript.Echo "Title: " & CreateObject("QlxWCommon.clsCommon").sAppTitle   ' shared by every root object
WScript.Echo "Swap X and Y: " & common.gSwapXY & ", first axis: " & common.gFirstCoorName
WScript.Echo "Status message: " & common.gsMSG_WriteStatus & ", pi: " & common.gdPI
On Error Resume Next
common.INIFileName = folder & "\other.ini"
WScript.Echo "Error " & Hex(Err.Number) & ": " & Err.Description
