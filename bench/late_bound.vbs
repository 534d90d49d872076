' Late-bound calls on the library's largest interface against the system's own automation objects, and
' a read of an unchanged INI file against asking whether the file exists. One run, figures only:
'   wine cscript //nologo bench\late_bound.vbs [calls]
' Each figure is microseconds a call, the loop included; "loop" is the empty loop alone.
Option Explicit
Dim calls, fso, dictionary, root, debugObject, manager, folder, iniPath, stream, i, value, started

calls = 20000
If WScript.Arguments.Count > 0 Then calls = CLng(WScript.Arguments(0))

Set fso = CreateObject("Scripting.FileSystemObject")
Set dictionary = CreateObject("Scripting.Dictionary")
dictionary.Add "Key", "value"
Set root = CreateObject("QlxWCommon.clsCommon")
Set debugObject = CreateObject("QlxWCommon.clsDebug")
Set manager = CreateObject("QlxWCommon.INIManager5")

folder = fso.BuildPath(fso.GetSpecialFolder(2), "qlxw-late-bound")
If Not fso.FolderExists(folder) Then fso.CreateFolder folder
iniPath = fso.BuildPath(folder, "bench.ini")
Set stream = fso.CreateTextFile(iniPath, True)
stream.Write "[Values]" & vbCrLf & "Name=value" & vbCrLf
stream.Close
root.MainVer = 5
root.INIFileName = iniPath
' Long enough ago for the file's times to be trusted: the reads below find it unchanged. (Wine's
' cscript has no WScript.Sleep.)
started = Timer
Do While Timer - started < 0.5
Loop

Function PerCall(seconds)
  PerCall = FormatNumber(seconds * 1000000 / calls, 2)
End Function

Sub Report(name, seconds)
  WScript.Echo name & " " & PerCall(seconds)
End Sub

started = Timer
For i = 1 To calls
Next
Report "loop", Timer - started

started = Timer
For i = 1 To calls
  value = root.lDebugId
Next
Report "clsCommon.lDebugId", Timer - started

started = Timer
For i = 1 To calls
  value = dictionary.Count
Next
Report "Dictionary.Count", Timer - started

' The same call on a small interface: what the size of the interface adds.
started = Timer
For i = 1 To calls
  value = debugObject.bCallLog
Next
Report "clsDebug.bCallLog", Timer - started

started = Timer
For i = 1 To calls
  value = root.LoadINIValueByKey("Values", "Name")
Next
Report "clsCommon.LoadINIValueByKey", Timer - started

started = Timer
For i = 1 To calls
  value = dictionary.Exists("Key")
Next
Report "Dictionary.Exists", Timer - started

started = Timer
For i = 1 To calls
  value = manager.LoadINIString("Values", "Name")
Next
Report "INIManager5.LoadINIString", Timer - started

started = Timer
For i = 1 To calls
  value = fso.FileExists(iniPath)
Next
Report "FileSystemObject.FileExists", Timer - started

If manager.LoadINIString("Values", "Name") <> "value" Then WScript.Echo "FAILED: the INI value was not read"
Set manager = Nothing
Set root = Nothing
fso.DeleteFolder folder, True
WScript.Echo "done"
