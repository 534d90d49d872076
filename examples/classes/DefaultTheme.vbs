' The theme kept in the INI file (section mod) from main version 4 on: what LocalInfo.Theme gives.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
common.INIFileName = folder & "\DefaultTheme.ini"
Set theme = CreateObject("QlxWCommon.DefaultTheme")
theme.MenuStyleId = 2
theme.TransparentBands = True
Set again = common.LocalInfo.Theme
WScript.Echo "Menu style: " & again.MenuStyleId & ", transparent bands: " & again.TransparentBands
WScript.Echo "In the INI file: Style=" & common.LoadINIValueByKey("mod", "Style")
