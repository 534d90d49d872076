' ---- the test ----
' Accented letters through Chr: the same code in the 8-bit code pages of the test prefixes (1250, 1252).
' Keys (For Each), FolderManager, clsFileSystemController and FSCReplacer as hosts use them.
Dim hu, unconfigured, ring
Set language = CreateObject("QlxWCommon.UILanguage")
language.ChangeUILanguage 1038
unconfigured = "Az " & Chr(250) & "tvonal nincs konfigur" & Chr(225) & "lva : "
ring = "Az " & Chr(250) & "tvonal kifejt" & Chr(233) & "se sikertelen!"

' Keys: 17 records in their order, the values of the language current when built.
Set keys = CreateObject("QlxWCommon.Keys")
Check "Keys.Count", keys.Count, CLng(17)
Check "Item(SaveFolder).Key", keys.Item(2).Key, "SaveFolder"
Check "Item(SaveFolder).Value", keys(2).Value, "QLX_Ment" & Chr(233) & "sek"
Check "Item(None).Key", keys(0).Key, "None"
Check "Item(None).Value", keys(0).Value, ""
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
Set record = keys.Item(17)
CheckError "Item(17)", 5, Null
Set record = keys(-1)
CheckError "Item(-1)", 5, Null
On Error GoTo 0
language.ChangeUILanguage 2057
Check "an existing Keys keeps its language", keys(2).Value, "QLX_Ment" & Chr(233) & "sek"
Check "a new Keys takes the new one", CreateObject("QlxWCommon.Keys").Item(2).Value, "QLX_Saves"
language.ChangeUILanguage 1038

' FolderManager: relative storage, moving a base folder, the errors of its rules.
Set manager = CreateObject("QlxWCommon.FolderManager")
Check "FolderManager.Count", manager.Count, CLng(16)
systemFolder = manager.AbsolutePath(4)
Check "the system folder below the workspace", systemFolder, manager.AbsolutePath(16) & "\Rendszer"
manager.SetPath 1, systemFolder & "\MyTemplates"
manager.SetPath 4, TestPath("Moved"), True
Check "templates move with the system folder", manager.AbsolutePath(1), TestPath("Moved") & "\MyTemplates"
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
manager.SetPath 11, "<QD>", True
manager.SetPath 12, "<Temp>", True
x = manager.AbsolutePath(11)
CheckError "an alias ring", &H80040003, ring
x = manager.AbsolutePath(17)
CheckError "a number outside the table", 5, Null
On Error GoTo 0
Check "SetDefault", manager.SetDefault(4), systemFolder

' The INI file: the three definitions, variables included.
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 5
iniFile = FreshIni("folders.ini")
common.INIFileName = iniFile
CreateObject("QlxWCommon.FolderManager").SaveToINI
Check "SaveToINI", ReadFile(iniFile), Lines(Array("[Folders]", "SaveFolder=<UserFolder>QLX_Ment" & Chr(233) & "sek", _
  "Templates=<System>Sablonok", "Temp=<System>Temp"))

' The controller (main version 5: over the folder manager); folders are made when asked for.
Set controller = CreateObject("QlxWCommon.clsFileSystemController")
workspace = TestPath("WorkSpace")
controller.QlxWFolders(16) = workspace
temp = controller.QlxWFolders(11)
Check "the temporary folder", temp, workspace & "\Rendszer\Temp"
CheckTrue "made on disk", gFso.FolderExists(temp)
Check "help file", controller.QlxWHelpFileName(True), workspace & "\Rendszer\Help\QLX3_Help.chm::/CSQLX3_Help.txt"
Check "help file without arguments", controller.QlxWHelpFileName, workspace & "\Rendszer\Help\QLX3_Help.chm"
Check "extensions", controller.gcQLX25FileExt & controller.gcIBNFileExt & controller.gcAW2FileExt, "gdbibnaw2"
Check "lDebugId", controller.lDebugId, CLng(0)
Check "SaveFolder", controller.SaveFolder, controller.QlxWFolders(2)
CheckTrue "defaults come from a fresh manager", controller.DefaultWorkspaceRoot <> workspace
Set other = CreateObject("QlxWCommon.clsFileSystemController")
Check "one implementation for every instance", other.QlxWFolders(11), temp
controller.gsUserName = "Kov" & Chr(225) & "cs"
Check "gsUserName", other.gsUserName, "Kov" & Chr(225) & "cs"
controller.SaveToRegistry
CheckTrue "saved to the INI file", InStr(ReadFile(iniFile), "Temp=<WorkSpace>Rendszer") = 0
controller.QlxWFolders(11) = TestPath("MyTemp")
controller.SaveToRegistry
CheckTrue "the let is saved as given", InStr(ReadFile(iniFile), "Temp=" & TestPath("MyTemp")) > 0
controller.SetDefaultForIx 11
Check "SetDefaultForIx", controller.QlxWFolders(11), temp
On Error Resume Next
x = controller.QlxWFolders(17)
CheckError "QlxWFolders(17)", 5, Null
controller.QlxWFolders(14) = "<Help>"
Check "an unresolvable help folder gives no help file", controller.QlxWHelpFileName(False, False), ""
CheckNoError "QlxWHelpFileName traps its errors"
x = controller.QlxWFolders(14)
CheckError "the help folder itself", &H80040003, unconfigured & "<Help> "
On Error GoTo 0
controller.TearDown
Check "a torn-down controller still answers", controller.gcIBNFileExt, "ibn"

' FSCReplacer directly: its own interface has no members, late binding reaches the contract's.
Set replacer = CreateObject("QlxWCommon.FSCReplacer")
Check "FSCReplacer.gcAW2FileExt", replacer.gcAW2FileExt, "aw2"
replacer.QlxWFolders(16) = TestPath("Replacer")
Check "FSCReplacer folders", replacer.QlxWFolders(5), TestPath("Replacer") & "\Rendszer\Font25"
CheckTrue "FSCReplacer makes them", gFso.FolderExists(TestPath("Replacer") & "\Rendszer\Font25")

Finish
