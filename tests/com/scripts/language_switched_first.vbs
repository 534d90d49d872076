' A fresh process whose host switched the language before any object that follows it existed: the
' first error carries the text of the language switched to.
Set language = CreateObject("QlxWCommon.UILanguage")
' Switch away from the runtime's own language, so that the switch is what the text shows.
If language.LanguageID = 2057 Then
  switchedTo = 1038
  expected = HungarianMessage74()
Else
  switchedTo = 2057
  expected = "Error! ini-File path modifications are forbidden!"
End If
language.ChangeUILanguage switchedTo
Set root = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 5
root.INIFileName = FreshIni("switched-a.ini")
On Error Resume Next
root.INIFileName = FreshIni("switched-b.ini")
CheckError "a second name after switching to " & switchedTo, &H80040003, expected
On Error GoTo 0
Finish
