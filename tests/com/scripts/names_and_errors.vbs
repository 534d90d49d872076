' Member names and errors as a host script meets them: names in any letter case on either interface of
' a class, the library's own error numbers with their texts, the automation errors by their small
' numbers, and a failed construction.
Set root = CreateObject("QlxWCommon.clsCommon")
CreateObject("QlxWCommon.UILanguage").ChangeUILanguage 1038
On Error Resume Next
version = root.MainVer
CheckError "before the main version", &H80040003, "Main version not initialized!"
root.MainVer = 5
' The NUL is inside the name the library gets, not its end.
root.INIFileName = TestPath("held") & Chr(0) & ".ini"
CheckError "a name with a NUL", &H80040001, "Invalid inifile name!"
root.INIFileName = FreshIni("names.ini")
CheckError "the first name", 0, Null
' Accented letters through Chr: the same code in the 8-bit code pages of the test prefixes (1250, 1252).
root.INIFileName = FreshIni("other.ini")
CheckError "a second name", &H80040003, "Hiba! Az ini-f" & Chr(225) & "jl " & Chr(250) & "tvonala nem v" & _
  Chr(225) & "ltoztathat" & Chr(243) & "!"
Set folderKeys = CreateObject("QlxWCommon.Keys")
Set record = folderKeys(-1)
CheckError "a folder number without a record", 5, Null
Set root.oAppFrameForm = CreateObject("Scripting.Dictionary")
CheckError "not a form", 13, Null
x = root.lDebugIds
CheckError "a name the interface lacks", 438, Null
Set m5 = CreateObject("QlxWCommon.INIManager5")
x = m5.LoadINIStrin("S", "Key")
CheckError "a name neither interface has", 438, Null

' A construction that cannot write its first trace record fails.
Set tracing = CreateObject("QlxWCommon.clsDebug")
tracing.sLogFileName = ""
tracing.bCallLog = True
Set made = CreateObject("QlxWCommon.clsCommon")
CheckTrue "a construction that fails", Err.Number <> 0
Err.Clear
tracing.bCallLog = False
On Error GoTo 0

root.WriteINIValueByKey "S", "Key", "value"
Check "names in any case", Array(root.LDEBUGID, root.ldebugid, root.loadinivaluebykey("S", "Key"), _
  m5.loadinistring("S", "Key"), m5.LOADINISTRING("S", "Key")), Array(root.lDebugId, root.lDebugId, "value", "value", "value")
CheckTrue "the first interface's member in capitals", m5.ASINIMANAGER Is m5.AsIniManager

Finish
