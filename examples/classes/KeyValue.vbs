' KeyValue records are not created: Keys hands them out, by folder number or with For Each.
Set record = CreateObject("QlxWCommon.Keys").Item(1)   ' egsPath_Template
WScript.Echo record.Key & ": " & record.Value
On Error Resume Next
Set record = CreateObject("QlxWCommon.KeyValue")
WScript.Echo "CreateObject: error " & Err.Number & " (" & Err.Description & ")"
