' The legacy controller (main version 4, no "FolderControl" switch): folders below the program folder,
' the template and save folders in the registry. folders_legacy_2.vbs checks what survives this run.
Set shell = CreateObject("WScript.Shell")
registryKey = "HKCU\Software\QlxWCommon\Folders\"
On Error Resume Next
shell.RegDelete registryKey & "gsPath_Template"
shell.RegDelete registryKey & "gsPath_SaveFolder"
Err.Clear
On Error GoTo 0
CreateObject("QlxWCommon.UILanguage").ChangeUILanguage 1038
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 4
common.INIFileName = FreshIni("legacy.ini")

Set controller = CreateObject("QlxWCommon.clsFileSystemController")
program = TestPath("Program")
If gFso.FolderExists(program) Then gFso.DeleteFolder program, True
controller.QlxWFolders(15) = program
Check "a program folder that does not exist is ignored", controller.QlxWFolders(4), "\Rendszer"
gFso.CreateFolder program
controller.QlxWFolders(15) = program
systemFolder = program & "\Rendszer"
CheckTrue "the system folder is made", gFso.FolderExists(systemFolder)
Check "templates", controller.QlxWFolders(1), systemFolder & "\Sablonok"
Check "stored in the registry", shell.RegRead(registryKey & "gsPath_Template"), systemFolder & "\Sablonok"

' A template folder of the host's own, kept for the next run.
mine = TestPath("MyTemplates")
If Not gFso.FolderExists(mine) Then gFso.CreateFolder mine
controller.QlxWFolders(1) = mine
controller.SaveToRegistry
Check "saved", shell.RegRead(registryKey & "gsPath_Template"), mine

Finish
