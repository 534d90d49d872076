' CommonFacade, ILibAnchors, IAppSettings, clsDebug, clsCommonTypes and UILanguage as hosts use them.
Set facade = CreateObject("QlxWCommon.CommonFacade")

' The facade needs the main version like every INI access.
On Error Resume Next
Set manager = facade.INI
CheckError "INI before the main version", &H80040003, "Main version not initialized!"
Set manager = facade.INI5
CheckError "INI5 before the main version", &H80040003, "Main version not initialized!"
On Error GoTo 0

' Anchors: replaced only when the stored ones are released; the library's own never are.
CheckTrue "no anchors", facade.LibAnchors Is Nothing
Set anchors = CreateObject("QlxWCommon.ILibAnchors")
Check "library anchors are not released", anchors.Released, False
anchors.Add CreateObject("Scripting.Dictionary")
anchors.Remove Nothing
Set facade.LibAnchors = anchors
CheckTrue "anchors stored", CreateObject("QlxWCommon.CommonFacade").LibAnchors Is anchors
On Error Resume Next
Set facade.LibAnchors = CreateObject("QlxWCommon.ILibAnchors")
CheckError "replacing unreleased anchors", &H80040001, ""
On Error GoTo 0
CheckTrue "the first anchors stay", facade.LibAnchors Is anchors

' The null settings store: zero values whatever the default, nothing kept.
Set settings = CreateObject("QlxWCommon.IAppSettings")
Check "Get with and without defaults", Array(settings.GetLong("Cat", "Key", 7), settings.GetLong("Cat", "Key"), _
  settings.GetByte("Cat", "Key", 9), settings.GetInteger("Cat", "Key"), settings.GetDouble("Cat", "Key", 2.5), _
  settings.GetBoolean("Cat", "Key", True), settings.GetString("Cat", "Key", "default")), _
  Array(CLng(0), CLng(0), CByte(0), CInt(0), CDbl(0), False, "")
settings.SetLong "Cat", "Key", 12, False
Check "SetLong keeps nothing", settings.GetLong("Cat", "Key"), CLng(0)
' Left-out optional arguments by reference: the text default and SaveToFile (True when left out).
Check "GetString without a default", settings.GetString("Cat", "Key"), ""
settings.SetLong "Cat", "Key", 12
settings.SetString "Cat", "Key", "text"
settings.SetBoolean "Cat", "Key", True
Check "GetBoolean without a default", settings.GetBoolean("Cat", "Key"), False
Check "CheckLongArray", settings.CheckLongArray("Cat", "Key"), False

' Trace settings are library-wide; the collection is one object for every clsDebug.
Set debug1 = CreateObject("QlxWCommon.clsDebug")
Set debug2 = CreateObject("QlxWCommon.clsDebug")
Check "component name", debug1.sComponentName, "QlxWCommon"
CheckTrue "one collection", debug1.colTraceObj Is debug2.colTraceObj
Set traced = debug1.colTraceObj
traced.Add "first"
traced.Add 42, "answer"
traced.Add debug1, "debug"
Check "count, by position, by key", Array(debug2.colTraceObj.Count, traced.Item(1), traced("answer")), _
  Array(CLng(3), "first", CLng(42))
CheckTrue "objects stay themselves", traced("DEBUG") Is debug1
On Error Resume Next
traced.Add "again", "answer"
CheckError "a key in use", 457, Null
x = traced.Item(9)
CheckError "position out of range", 9, Null
x = traced.Item("missing")
CheckError "unknown key", 5, Null
On Error GoTo 0
traced.Remove "debug"
traced.Remove 1
Check "after removing", traced.Count, CLng(1)
' Adding before or after an item named by position or key; For Each walks them in order.
traced.Add "b", "B", 1
traced.Add "d", , , "answer"
traced.Add "c", , "answer"
traced.Add "a", , , 1
walked = ""
For Each item In traced
  walked = walked & item & " "
Next
Check "For Each", walked, "b a c 42 d "
On Error Resume Next
traced.Add "x", , 9
CheckError "adding before a position that is not there", 5, Null
traced.Add "x", , "nokey"
CheckError "adding after a key that is not there", 5, Null
traced.Add "x", , 1, 1
CheckError "before and after at once", 5, Null
On Error GoTo 0
Check "nothing added by a bad place", traced.Count, CLng(5)

' A root object created while tracing writes its five construction lines.
logFile = FreshIni("trace.log")
debug1.sLogFileName = logFile
debug2.bCallLog = True
Check "log name shared", debug2.sLogFileName, logFile
Set root = CreateObject("QlxWCommon.clsCommon")
debug1.bCallLog = False
logText = ReadFile(logFile)
CheckTrue "its first record", InStr(logText, """clsCommon.Class_Initialize >> ") = 1
Check "five records", UBound(Split(logText, vbCrLf)), CLng(5)

' Tracing into a file that cannot be written makes the traced construction fail.
debug1.sLogFileName = ""
debug1.bCallLog = True
On Error Resume Next
Set failing = CreateObject("QlxWCommon.clsCommon")
CheckTrue "construction fails", Err.Number <> 0
Err.Clear
On Error GoTo 0
debug1.bCallLog = False

' The records' class and the language switch.
Set types = CreateObject("QlxWCommon.clsCommonTypes")
CheckTrue "clsCommonTypes", Not types Is Nothing
Set language = CreateObject("QlxWCommon.UILanguage")
language.ChangeUILanguage 2057
Check "language changed", language.LanguageID, CLng(2057)
Check "language name", language.Language, "English (United Kingdom)"
language.ChangeUILanguage 1038
Check "Hungarian", CreateObject("QlxWCommon.UILanguage").LanguageID, CLng(1038)

Finish
