' The legacy controller (main version 4, no "FolderControl" switch) keeps its template and save folders
' for the user in the registry, where hosts of either bitness find them; folders_legacy_2.vbs reads
' them back in a process of its own.
Set shell = CreateObject("WScript.Shell")
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 4
common.INIFileName = FreshIni("legacy.ini")
Set controller = CreateObject("QlxWCommon.clsFileSystemController")
program = TestPath("Program")
If Not gFso.FolderExists(program) Then gFso.CreateFolder program
controller.QlxWFolders(15) = program
template = controller.QlxWFolders(1)
Check "stored when made", shell.RegRead("HKCU\Software\QlxWCommon\Folders\gsPath_Template"), template
mine = TestPath("MyTemplates")
If Not gFso.FolderExists(mine) Then gFso.CreateFolder mine
controller.QlxWFolders(1) = mine
controller.SaveToRegistry
Check "saved", shell.RegRead("HKCU\Software\QlxWCommon\Folders\gsPath_Template"), mine

Finish
