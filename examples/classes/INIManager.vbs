' The INI manager of hosts up to main version 4: typed values, defaults, and NULL for a missing text.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 4
common.INIFileName = folder & "\INIManager.ini"
Set ini = CreateObject("QlxWCommon.INIManager")
ini.WriteINIBoolean "Setup", "ShowGrid", True
WScript.Echo "Show grid: " & ini.LoadINIBoolean("Setup", "ShowGrid")
WScript.Echo "Scale: " & ini.LoadINIString("Setup", "Scale", "1000")   ' written back when the host ends
WScript.Echo "Missing: " & ini.LoadINIValueByKey("Setup", "Missing")
WScript.Echo "Angle mode: " & ini.gAngleMode & ", axes: " & ini.gFirstCoorName & ini.gSecondCoorName
