' The controller of hosts from main version 5 (clsFileSystemController uses it there): folders kept in
' the INI file, put back to their defaults.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
common.INIFileName = folder & "\FSCReplacer.ini"
Set replacer = CreateObject("QlxWCommon.FSCReplacer")
replacer.QlxWFolders(16) = folder & "\Workspace"   ' egsPath_WorkSpace
replacer.SaveToRegistry
WScript.Echo "Workspace: " & replacer.QlxWFolders(16)
replacer.SetDefaultForIx 16
WScript.Echo "By default: " & replacer.QlxWFolders(16) & ", root: " & replacer.DefaultWorkspaceRoot
