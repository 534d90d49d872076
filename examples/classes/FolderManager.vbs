' The folder table behind FSCReplacer: folders defined through one another, and kept in the INI file.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
common.INIFileName = folder & "\FolderManager.ini"
Set folders = CreateObject("QlxWCommon.FolderManager")
folders.SetPath 4, folder & "\System"   ' egsPath_QlxWSystem: the templates move with it
WScript.Echo "Templates: " & folders.AbsolutePath(1)
folders.SaveToINI
WScript.Echo "Saved as: " & common.LoadINIValueByKey("Folders", "Templates")
On Error Resume Next
folders.SetPath 4, "<Templates>System", True   ' a definition that leads back to itself
WScript.Echo "Templates: " & folders.AbsolutePath(1)
WScript.Echo "Error " & Hex(Err.Number) & ": " & Err.Description
