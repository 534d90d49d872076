' Shared by every script test: put in front of each script by the runner (Wine's cscript runs
' neither .wsf files nor ExecuteGlobal).
Dim gPassed, gFailed, gTestDir, gFso
gPassed = 0
gFailed = 0
Set gFso = CreateObject("Scripting.FileSystemObject")
' Wine's ExpandEnvironmentStrings keeps the terminating NUL.
gTestDir = Replace(CreateObject("WScript.Shell").ExpandEnvironmentStrings("%QLXW_TEST_DIR%"), Chr(0), "")

' Values compare with their type, as a host reads them; arrays of the same length element by element.
Sub Check(name, actual, expected)
  Dim i
  If IsArray(expected) Then
    For i = 0 To UBound(expected)
      Check name & " #" & i, actual(i), expected(i)
    Next
    Exit Sub
  End If
  If TypeName(actual) = TypeName(expected) And actual = expected Then
    gPassed = gPassed + 1
  Else
    gFailed = gFailed + 1
    WScript.Echo "FAILED " & name & ": got " & TypeName(actual) & " [" & actual & "], expected " & _
      TypeName(expected) & " [" & expected & "]"
  End If
End Sub

Sub CheckTrue(name, condition)
  Check name, CBool(condition), True
End Sub

' After a statement run under On Error Resume Next: the error it raised (no text to compare: Null),
' then clears it.
Sub CheckError(name, number, description)
  Check name & " (number)", Hex(Err.Number), Hex(number)
  If Not IsNull(description) Then Check name & " (description)", Err.Description, description
  Err.Clear
End Sub

' A path in the test folder, with no file there yet.
Function FreshIni(fileName)
  Dim filePath
  filePath = TestPath(fileName)
  If gFso.FileExists(filePath) Then gFso.DeleteFile filePath
  FreshIni = filePath
End Function

Function TestPath(fileName)
  TestPath = gTestDir & "\" & fileName
End Function

' A file the test has written (reading an empty one fails).
Function ReadFile(filePath)
  ReadFile = ""
  If gFso.FileExists(filePath) Then ReadFile = gFso.OpenTextFile(filePath).ReadAll()
End Function

Sub Finish()
  WScript.Echo gPassed & " passed, " & gFailed & " failed"
  If gFailed > 0 Then WScript.Quit 1
  WScript.Quit 0
End Sub

' ---- the test ----
