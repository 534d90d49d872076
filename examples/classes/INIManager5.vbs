' The INI manager of hosts from main version 5: a missing text is empty, and a value too long to read
' back whole fails rather than come back cut.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
common.INIFileName = folder & "\INIManager5.ini"
Set ini = CreateObject("QlxWCommon.INIManager5")
ini.WriteINIValueByKey "Paths", "Last", "C:\Data\plan.gdb"
WScript.Echo "Last: " & ini.LoadINIValueByKey("Paths", "Last")
WScript.Echo "Missing: [" & ini.LoadINIValueByKey("Paths", "None") & "]"
ini.WriteINIValueByKey "Paths", "Recent", String(1100, "x")
On Error Resume Next
recent = ini.LoadINIValueByKey("Paths", "Recent")
WScript.Echo "Error " & Hex(Err.Number) & ": " & Err.Description
