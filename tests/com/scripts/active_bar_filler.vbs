' ActiveBarFiller with host objects made in script and the test resource component (run.sh copies it
' here and registers it as QlxWFillerHostRes.Core, the name in its type library, and as
' FillerAppRes.Core; the fill writes "which class|form|bar|pattern|language" into the control's Tag).
Dim bar  ' the bar of the last fill

Class HostApplication
  Public PATH
  Public EXEName
  Public Title
End Class

Class HostForm
  Public Name
End Class

Class HostFont
  Public Name
  Public Size
End Class

Class HostBar
  Public Name
  Public Tag
  Public UseUnicode
  Public MenuFontStyle
  Public ControlFont
  Public Font
  Public ToolbarStyle
  Public FloatingToolbarFadeDelay
  Private Sub Class_Initialize()
    Name = "abMain"
    Set ControlFont = New HostFont
    Set Font = New HostFont
  End Sub
End Class


CreateObject("QlxWCommon.UILanguage").ChangeUILanguage 2057
Set root = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 3
root.INIFileName = WriteFile(FreshIni("filler.ini"), Lines(Array("[mod]", "Style=2", "TransparentBands=True")))
root.LocalInfo.FontName = "Tahoma"
root.LocalInfo.MenuFontSize = 9
root.LocalInfo.UnicodeMenu = True

Set app = New HostApplication
app.EXEName = "FillerApp"
app.Title = "Filler Test"
Set form = New HostForm
form.Name = "frmMain"

' A host folder holding FillerApp.<extension>: the test component, or the text given.
Sub MakeHost(name, extension, content)
  Dim path
  path = TestPath(name)
  If Not gFso.FolderExists(path) Then gFso.CreateFolder path
  If content = "component" Then
    gFso.CopyFile TestPath("qlxw_filler_host.dll"), path & "\FillerApp." & extension
  Else
    WriteFile path & "\FillerApp." & extension, content
  End If
End Sub

Function Filled(hostFolder, pattern)
  Set bar = New HostBar
  app.PATH = TestPath(hostFolder)
  Filled = CreateObject("QlxWCommon.ActiveBarFiller").FillActiveBar(app, form, bar, pattern) & bar.Tag
End Function

' The program name: the type library of FillerApp.exe, .dll or .ocx, else EXEName.
gFso.CreateFolder TestPath("none")
For Each row In Array(Array("dll", "dll", "component"), Array("exe", "exe", "component"), _
    Array("ocx", "ocx", "component"), Array("empty", "exe", ""), Array("empty", "dll", "component"), _
    Array("plain", "exe", "MZ without a type library"), Array("baddll", "dll", "MZ without a type library"))
  MakeHost row(0), row(1), row(2)
Next
For Each folder In Array("dll", "exe", "ocx")
  Check "program name from the ." & folder, Filled(folder, ""), "library|frmMain|abMain|abMain|2057"
Next
For Each folder In Array("none", "empty", "plain")
  Check "program name is EXEName: " & folder, Filled(folder, ""), "exe|frmMain|abMain|abMain|2057"
Next
Check "a pattern given", Filled("none", "mnuEdit"), "exe|frmMain|abMain|mnuEdit|2057"
On Error Resume Next
Filled "baddll", ""
CheckError "a .dll without a type library", &H80029C4A, Null
On Error GoTo 0

' Main version 3: the fonts of LocalInfo, no style.
Filled "none", ""
Check "v3 bar", Array(bar.UseUnicode, bar.MenuFontStyle, bar.ControlFont.Name, bar.Font.Name, bar.Font.Size, _
  bar.ToolbarStyle, bar.FloatingToolbarFadeDelay), Array(True, CLng(1), "Tahoma", "Tahoma", CDbl(9), CLng(0), CLng(0))

' Main version 4: the theme of the "mod" section; the fonts are not touched.
root.MainVer = 4
Filled "none", ""
Check "v4 bar", Array(bar.ToolbarStyle, bar.FloatingToolbarFadeDelay), Array(CLng(2), CLng(250))
CheckTrue "v4 fonts untouched", IsEmpty(bar.Font.Name) And IsEmpty(bar.UseUnicode)

' The three failures: the title, the phrase, the cause and the ProgId, the cause's number kept.
Sub CheckFailure(name, progId, number, phrase, cause)
  desc = Err.Description
  Check name & " (number)", Err.Number, number
  Check name & " (title)", Left(desc, 17), "A(z) Filler Test "
  CheckTrue name & " (phrase) " & desc, InStr(desc, phrase) > 0 And InStr(desc, "sikertelen" & vbCrLf) > 0
  Check name & " (end)", Mid(desc, InStrRev(desc, vbCrLf & cause & vbCrLf)), vbCrLf & cause & vbCrLf & "ProgId: " & progId
  Err.Clear
End Sub

Set bar = New HostBar
On Error Resume Next
CreateObject("QlxWCommon.ActiveBarFiller").FillActiveBarExplicit "NoSuchRes.Core", app, form, bar
CheckFailure "not registered", "NoSuchRes.Core", CLng(429), "nyos", "ActiveX component can't create object"
CreateObject("QlxWCommon.ActiveBarFiller").FillActiveBarExplicit "FillerAppRes.Core", app, form, bar, "Refuse"
CheckFailure "the component refuses", "FillerAppRes.Core", CLng(1001), " bet", "Pattern refused"
With CreateObject("QlxWCommon.clsDebug")
  .sLogFileName = TestPath("missing\trace.log")
  .bCallLog = True
  CreateObject("QlxWCommon.ActiveBarFiller").FillActiveBarExplicit "FillerAppRes.Core", app, form, bar
  .bCallLog = False
End With
Check "unprepared (number)", Err.Number, CLng(76)
Check "unprepared (end)", Right(Err.Description, 27), vbCrLf & "ProgId: FillerAppRes.Core"
CheckTrue "unprepared (phrase)", InStr(Err.Description, "inicializ") > 0
Err.Clear
On Error GoTo 0

Finish
