' The hot keys of the host's functions: the built-in table, a key given to a function, the table walked.
Set keys = CreateObject("QlxWCommon.HotKeys")
keys.ResetHotKeys
keys.SetHotKeyCode 113, "Help"   ' F2, taken from any function that had it
WScript.Echo "Help: " & keys.HotKeyCode("Help") & ", F2 assigned: " & keys.IsKeyAssigned(113)
For i = 1 To keys.FunctionCount
  WScript.Echo keys.GetFncName(i) & ": " & keys.GetKeyCode(i)
Next
On Error Resume Next
WScript.Echo keys.GetFncName(keys.FunctionCount + 1)
WScript.Echo "Past the end: error " & Err.Number & " (" & Err.Description & ")"
