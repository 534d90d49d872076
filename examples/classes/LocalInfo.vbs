' The fonts and switches a host applies to its forms and menus: the thread's one LocalInfo, reached
' through the root object.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
common.INIFileName = folder & "\LocalInfo.ini"
Set info = common.LocalInfo
info.FontSize = 9
WScript.Echo "Font: " & info.FontName & " " & CreateObject("QlxWCommon.clsCommon").LocalInfo.FontSize
WScript.Echo "Menu font size: " & info.MenuFontSize & ", menu style: " & info.Theme.MenuStyleId
On Error Resume Next
info.FontName = ""
WScript.Echo "Error " & Err.Number & ": " & Err.Description
