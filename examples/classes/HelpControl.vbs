' Opening the host's PDF manual (an empty stand-in here) at a help key's page; a KEY argument opens it.
Class DdeLabel   ' what the library checks of the DDE label control a real host hands Init
  Public LinkTopic
  Public Caption
  Public Sub LinkExecute(command) : End Sub
End Class
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2).Path
If WScript.Arguments.Count > 0 Then folder = WScript.Arguments(0)
CreateObject("Scripting.FileSystemObject").CreateTextFile(folder & "\manual.pdf", True).Close
Set help = CreateObject("QlxWCommon.HelpControl")
help.Init folder & "\manual.txt", folder & "\manual.pdf", New DdeLabel   ' manual.txt: "key,page" lines
On Error Resume Next
WScript.Echo "Viewer: " & help.GetPDFViewerExeName(folder & "\manual.pdf")
If Err.Number <> 0 Then WScript.Echo "Error " & Hex(Err.Number) & ": " & Err.Description
If WScript.Arguments.Count > 1 Then WScript.Echo "Shown: " & help.AcrobatLookup(WScript.Arguments(1))
