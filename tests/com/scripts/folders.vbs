' Accented letters through Chr: the same code in the 8-bit code pages of the test prefixes (1250, 1252).
' Keys (For Each), FolderManager, clsFileSystemController and FSCReplacer as hosts use them.
Set language = CreateObject("QlxWCommon.UILanguage")
language.ChangeUILanguage 1038
unconfigured = "Az " & Chr(250) & "tvonal nincs konfigur" & Chr(225) & "lva : "
ring = "Az " & Chr(250) & "tvonal kifejt" & Chr(233) & "se sikertelen!"

' Keys: 17 records in their order, For Each over them, numbers without a record.
Set keys = CreateObject("QlxWCommon.Keys")
Check "Keys.Count", keys.Count, CLng(17)
Check "Item(SaveFolder).Value", keys(2).Value, "QLX_Ment" & Chr(233) & "sek"
count = 0
first = ""
last = ""
For Each record In keys
  If count = 0 Then first = record.Key
  last = record.Key
  count = count + 1
Next
Check "For Each visits every record", count, 17
Check "first record", first, "BaseFiles"
Check "last record", last, "None"
On Error Resume Next
Set record = keys(-1)
CheckError "Item(-1)", 5, Null
On Error GoTo 0

' FolderManager: the errors of its rules as Err sees them.
Set manager = CreateObject("QlxWCommon.FolderManager")
systemFolder = manager.AbsolutePath(4)
Check "the system folder below the workspace", systemFolder, manager.AbsolutePath(16) & "\Rendszer"
' An array of folder numbers (32-bit); script engines index only arrays of variants, the early-bound
' client reads its elements.
Check "GetSerializables", VarType(manager.GetSerializables()), vbArray + vbLong
On Error Resume Next
manager.SetPath 4, "<System>", True
x = manager.AbsolutePath(1)
CheckError "an unconfigured folder", &H80040003, unconfigured & "<System> "
manager.SetPath 4, "<templates>x", True
x = manager.AbsolutePath(5)
CheckError "a ring through a remainder", &H80040003, ring
x = manager.AbsolutePath(17)
CheckError "a number outside the table", 5, Null
On Error GoTo 0
Check "SetDefault", manager.SetDefault(4), systemFolder

' The controller (main version 5: over the folder manager); folders are made when asked for.
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
iniFile = FreshIni("folders.ini")
common.INIFileName = iniFile
Set controller = CreateObject("QlxWCommon.clsFileSystemController")
workspace = TestPath("WorkSpace")
controller.QlxWFolders(16) = workspace
temp = controller.QlxWFolders(11)
Check "the temporary folder", temp, workspace & "\Rendszer\Temp"
CheckTrue "made on disk", gFso.FolderExists(temp)
Check "help file without arguments", controller.QlxWHelpFileName, workspace & "\Rendszer\Help\QLX3_Help.chm"
Set other = CreateObject("QlxWCommon.clsFileSystemController")
Check "one implementation for every instance", other.QlxWFolders(11), temp
controller.QlxWFolders(11) = TestPath("MyTemp")
controller.SaveToRegistry
CheckTrue "the let is saved as given", InStr(ReadFile(iniFile), "Temp=" & TestPath("MyTemp")) > 0
On Error Resume Next
controller.QlxWFolders(14) = "<Help>"
Check "an unresolvable help folder gives no help file", controller.QlxWHelpFileName(False, False), ""
CheckNoError "QlxWHelpFileName traps its errors"
x = controller.QlxWFolders(14)
CheckError "the help folder itself", &H80040003, unconfigured & "<Help> "
On Error GoTo 0

' FSCReplacer directly: its own interface has no members, late binding reaches the contract's.
Set replacer = CreateObject("QlxWCommon.FSCReplacer")
Check "FSCReplacer.gcAW2FileExt", replacer.gcAW2FileExt, "aw2"
replacer.QlxWFolders(16) = TestPath("Replacer")
Check "FSCReplacer folders", replacer.QlxWFolders(5), TestPath("Replacer") & "\Rendszer\Font25"

Finish
