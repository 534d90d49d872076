' The host's one entry point to its folders: it needs the main version first, and from main version 5
' it keeps the folders in the INI file.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set controller = CreateObject("QlxWCommon.clsFileSystemController")
On Error Resume Next
WScript.Echo "Save folder: " & controller.QlxWFolders(2)
If Err.Number <> 0 Then WScript.Echo "Error " & Hex(Err.Number) & ": " & Err.Description
On Error GoTo 0
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
common.INIFileName = folder & "\clsFileSystemController.ini"
controller.QlxWFolders(2) = folder & "\Saves"   ' egsPath_SaveFolder
controller.SaveToRegistry
WScript.Echo "Save folder: " & controller.QlxWFolders(2) & ", documents: *." & controller.gcQLX25FileExt
