' The facade over the thread's shared objects: its INI managers exist once the main version is set.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set facade = CreateObject("QlxWCommon.CommonFacade")
On Error Resume Next
Set ini = facade.INI
WScript.Echo "Before the main version: error " & Hex(Err.Number) & ": " & Err.Description
On Error GoTo 0
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
common.INIFileName = folder & "\CommonFacade.ini"
WScript.Echo "INI file: " & facade.INI.INIFileName
WScript.Echo "The root's manager: " & (facade.INI Is common.INI)
WScript.Echo "INIManager5 behind it: " & (facade.INI5.AsIniManager Is common.INI)
