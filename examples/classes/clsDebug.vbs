' The library's trace log switched on for a while, and a log that cannot be written.
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
Set tracing = CreateObject("QlxWCommon.clsDebug")
tracing.sLogFileName = folder & "\qlxw-trace.log"
tracing.bCallLog = True
Set common = CreateObject("QlxWCommon.clsCommon")
tracing.bCallLog = False
WScript.Echo tracing.sComponentName & " traced: " & _
  CreateObject("Scripting.FileSystemObject").GetFile(tracing.sLogFileName).Size & " bytes"
tracing.sLogFileName = folder & "\missing\trace.log"
tracing.bCallLog = True
On Error Resume Next
Set common = CreateObject("QlxWCommon.clsCommon")   ' its first trace record cannot be written
WScript.Echo "Error " & Err.Number & ": " & Err.Description
