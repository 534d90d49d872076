' Filling a host's menus and toolbars through its resource component (ProgID <EXEName>Res.Core). A real
' host passes App, its form and its ActiveBar control; without the component the fill reports the cause.
Class HostStandIn   ' what the filler reads of App, the form and the control
  Public Name
  Public PATH
  Public EXEName
  Public Title
End Class
Set host = New HostStandIn
host.Name = "frmMain" : host.EXEName = "SurveyDesk" : host.Title = "Survey Desk"
Set filler = CreateObject("QlxWCommon.ActiveBarFiller")
On Error Resume Next
WScript.Echo "Filled: " & (filler.FillActiveBar(host, host, host) = "")
If Err.Number <> 0 Then WScript.Echo "Error " & Err.Number & ": " & Err.Description
