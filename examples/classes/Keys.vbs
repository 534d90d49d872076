' The data folders' key names (as in INI files and path variables) and default sub-folder names.
Set folderKeys = CreateObject("QlxWCommon.Keys")
For Each record In folderKeys
  WScript.Echo record.Key & ": " & record.Value
Next
On Error Resume Next
Set record = folderKeys(folderKeys.Count)
WScript.Echo "Folder " & folderKeys.Count & ": error " & Err.Number & " (" & Err.Description & ")"
