' ---- the test ----
' HotKeys as hosts use it: the default table, re-assignment and removal rules, the errors, and one
' table shared by every object of the thread.
Dim keys, other, i, found

Set keys = CreateObject("QlxWCommon.HotKeys")
Set other = CreateObject("QlxWCommon.HotKeys")
Check "empty before the reset", keys.FunctionCount, CLng(0)
Check "no key yet", keys.HotKeyCode("Help"), -1

keys.ResetHotKeys
Check "34 assignments", keys.FunctionCount, CLng(34)
Check "Undo", keys.HotKeyCode("Undo"), 2090
Check "UNDO in capitals", keys.HotKeyCode("UNDO"), 2090
Check "first name", keys.GetFncName(1), "Help"
Check "last code", keys.GetKeyCode(34), 2040
' Wine's ANSI code page here is 1252, where "í" is 237.
Check "SnapAny on í", keys.HotKeyCode("SnapAny"), 237
Check "SnapAny fourth", keys.GetFncName(4), "SnapAny"
Check "Esc halts", keys.HotKeyCode("Halt"), 27
Check "the other object sees the table", other.FunctionCount, CLng(34)

' A key taken from another function, the new pair last.
keys.SetHotKeyCode 112, "Layers"
Check "Help lost F1", keys.HotKeyCode("Help"), -1
Check "Help not assigned", keys.IsFncAssigned("Help"), False
Check "one fewer", keys.FunctionCount, CLng(33)
Check "Layers last", keys.GetFncName(33), "Layers"
Check "on F1", other.GetKeyCode(33), 112
Check "R is free", keys.IsKeyAssigned(82), False

' -1 is no key: nothing changes.
keys.SetHotKeyCode -1, "Layers"
Check "Layers keeps F1", keys.HotKeyCode("Layers"), 112
' Variables are passed as hosts pass them, by reference, and are left alone.
Dim code, name
code = 113
name = "help"
other.SetHotKeyCode code, name
Check "set through another object", keys.HotKeyCode("Help"), 113
Check "spelling kept", keys.GetFncName(34), "help"
Check "argument unchanged", code, 113

keys.RemoveKey 999
Check "no such key: nothing removed", keys.FunctionCount, CLng(34)
keys.RemoveFnc "HELP"
Check "removed by name", keys.IsKeyAssigned(113), False
keys.RemoveKey 2090
Check "removed by key", keys.IsFncAssigned("Undo"), False
Check "positions close up", keys.GetFncName(1), "Redo"

On Error Resume Next
found = keys.GetFncName(0)
CheckError "position 0", 9, Null
found = keys.GetKeyCode(keys.FunctionCount + 1)
CheckError "position past the end", 9, Null
Set found = keys.DefaultKeys
CheckError "DefaultKeys", 1001, "QlxWCommon.HotKeys.DefaultKeys/1"
On Error GoTo 0

keys.ClearHotKeys
Check "cleared", other.IsKeyAssigned(112), False
Check "count 0", other.FunctionCount, CLng(0)

' Past 32767 assignments the walks over positions overflow.
For i = 1 To 32767
  keys.SetHotKeyCode i, "F" & i
Next
keys.SetHotKeyCode 0, "F0"
Check "32768 assignments", keys.FunctionCount, CLng(32768)
On Error Resume Next
found = keys.IsKeyAssigned(1)
CheckError "IsKeyAssigned overflows", 6, Null
keys.RemoveKey 1
CheckError "RemoveKey overflows", 6, Null
On Error GoTo 0
Check "lookups by name still work", keys.HotKeyCode("F2"), 2

Finish
