' HotKeys as hosts use it: names in any case, arguments by reference, the errors as Err sees them, and
' one table shared by every object of the thread.

Set keys = CreateObject("QlxWCommon.HotKeys")
Set other = CreateObject("QlxWCommon.HotKeys")
Check "empty before the reset", keys.FunctionCount, CLng(0)
keys.ResetHotKeys
Check "the other object sees the table", other.FunctionCount, CLng(34)
Check "UNDO in capitals", keys.HotKeyCode("UNDO"), 2090

' A key taken from another function.
keys.SetHotKeyCode 112, "Layers"
Check "Help lost F1", keys.HotKeyCode("Help"), -1
' Variables are passed as hosts pass them, by reference, and are left alone.
code = 113
name = "help"
other.SetHotKeyCode code, name
Check "set through another object", keys.HotKeyCode("Help"), 113
Check "spelling kept", keys.GetFncName(34), "help"
Check "argument unchanged", code, 113
keys.RemoveFnc "HELP"
Check "removed by name", keys.IsKeyAssigned(113), False

On Error Resume Next
found = keys.GetKeyCode(keys.FunctionCount + 1)
CheckError "position past the end", 9, Null
On Error GoTo 0

keys.ClearHotKeys
Check "cleared", other.FunctionCount, CLng(0)

Finish
