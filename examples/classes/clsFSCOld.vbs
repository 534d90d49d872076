' The legacy controller is not created: clsFileSystemController uses it below main version 5 unless the
' INI file switches FolderControl on. Its folders lie below the program folder the host sets.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 4
common.INIFileName = folder & "\clsFSCOld.ini"
common.WriteINIValueByKey "setup", "FolderControl", "false"
Set controller = CreateObject("QlxWCommon.clsFileSystemController")
controller.QlxWFolders(15) = folder   ' egsPath_Program: an existing folder
WScript.Echo "System folder: " & controller.QlxWFolders(4)
WScript.Echo "Help file: " & controller.QlxWHelpFileName
