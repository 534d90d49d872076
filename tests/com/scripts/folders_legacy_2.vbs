' A second run after folders_legacy_1.vbs: the registry values are still there, and the INI file holds
' the switch the first run read at its default.
Set shell = CreateObject("WScript.Shell")
Check "the stored template folder survives", _
  shell.RegRead("HKCU\Software\QlxWCommon\Folders\gsPath_Template"), TestPath("MyTemplates")
CheckTrue "the switch was written back off", InStr(ReadFile(TestPath("legacy.ini")), "FolderControl=false") > 0

Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 4
common.INIFileName = TestPath("legacy.ini")
Set controller = CreateObject("QlxWCommon.clsFileSystemController")
Check "read from the registry in a new run", controller.QlxWFolders(1), TestPath("MyTemplates")

Finish
