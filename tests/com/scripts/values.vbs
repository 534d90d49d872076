' Values and arguments as a host script passes and reads them: each automation type the members take
' and return, literals and variables (by reference) where the member declares a reference, optional
' arguments left out at the end or in the middle, and properties that take an argument.
CreateObject("QlxWCommon.UILanguage").ChangeUILanguage 1038
Set root = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 5
root.INIFileName = FreshIni("values.ini")
Set settings = CreateObject("QlxWCommon.IAppSettings")
Set theme = CreateObject("QlxWCommon.ITheme")
theme.MenuStyleId = 4
root.LocalInfo.MenuFontSize = 9.5
Set folderKeys = CreateObject("QlxWCommon.Keys")
Check "types returned", Array(root.gdPI, root.lMIN_LONG, root.lMAX_LONG, root.gsMSG_Createviewwindow, _
  root.gSwapXY, root.gAngleMode, root.LocalInfo.MenuFontSize, settings.GetByte("C", "K", 9), _
  settings.GetInteger("C", "K"), settings.GetDouble("C", "K", 2.5), theme.MenuStyleId, folderKeys(2).Value), _
  Array(4 * Atn(1), CLng(-2147483647 - 1), CLng(2147483647), "CreateViewWindow", False, CLng(0), CSng(9.5), _
  CByte(0), CInt(0), CDbl(0), CLng(0), "QLX_Ment" & Chr(233) & "sek")
' Script engines index only arrays of variants: the early-bound client reads the elements.
Check "an array of folder numbers", VarType(CreateObject("QlxWCommon.FolderManager").GetSerializables()), vbArray + vbLong

' Literals go by value, variables by reference; either reaches a by-reference text, and a variable
' passed by reference keeps its value.
section = "S"
key = "Key"
root.WriteINIValueByKey section, key, "written"
Check "variables by reference", root.LoadINIValueByKey("S", "Key"), "written"
Set keys = CreateObject("QlxWCommon.HotKeys")
keys.ResetHotKeys
code = 113
name = "help"
keys.SetHotKeyCode code, name
Check "by-reference variables taken and left alone", Array(keys.HotKeyCode("Help"), code, name), Array(113, 113, "help")

' Optional arguments left out: at the end, by value and by reference, and in the middle.
Set m5 = CreateObject("QlxWCommon.INIManager5")
settings.SetLong "C", "K", 12
CheckError "SetLong without SaveToFile", 0, Null
Check "left out at the end", Array(m5.LoadINIString("S", "Absent"), m5.LoadINIBoolean("S", "Absent"), _
  settings.GetString("C", "K"), settings.GetBoolean("C", "K")), Array("", False, "", False)
Set traced = CreateObject("QlxWCommon.clsDebug").colTraceObj
traced.Add "a"
traced.Add "b", , 1
traced.Add "c", , , 1
walked = ""
For Each item In traced
  walked = walked & item
Next
Check "left out in the middle (before, after)", walked, "bca"

' A property with an argument, on the contract's interface of a class whose own has no members.
Set replacer = CreateObject("QlxWCommon.FSCReplacer")
replacer.QlxWFolders(16) = TestPath("WorkSpace")
Check "let and get with an argument", replacer.QlxWFolders(16), TestPath("WorkSpace")
Check "optional by reference, left out or given", Array(replacer.QlxWHelpFileName = _
  replacer.QlxWHelpFileName(False, False), InStr(replacer.QlxWHelpFileName(True), "::/") > 0), Array(True, True)

Finish
