' A fresh process whose host never switched the language: the first error already carries its text,
' in the language the runtime reports.
Set root = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 5
root.INIFileName = FreshIni("first-call-a.ini")
language = CreateObject("QlxWCommon.UILanguage").LanguageID
If language = 2057 Then
  expected = "Error! ini-File path modifications are forbidden!"
Else
  expected = HungarianMessage74()
End If
On Error Resume Next
root.INIFileName = FreshIni("first-call-b.ini")
CheckError "a second name in the runtime's language " & language, &H80040003, expected
On Error GoTo 0
Finish
