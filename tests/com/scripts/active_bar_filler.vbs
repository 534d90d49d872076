' ActiveBarFiller with host objects made in script and a registered resource component (run.sh copies
' it here and registers it as QlxWFillerHostRes.Core, the name in its type library, and as
' FillerAppRes.Core; its fill writes "which class|form|bar|pattern|language" into the control's Tag).
Class HostApplication
  Public PATH
  Public EXEName
  Public Title
End Class

Class HostForm
  Public Name
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
End Class

' A font that keeps the type of the size it is given.
Class HostFont
  Public Name
  Public SizeType
  Public Property Let Size(value)
    SizeType = TypeName(value)
  End Property
End Class

' The component is told the library's language, which a language-following object (Keys) takes from
' the runtime when made; the filler takes none.
CreateObject("QlxWCommon.UILanguage").ChangeUILanguage 2057
Set folderKeys = CreateObject("QlxWCommon.Keys")
Set root = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 4
root.INIFileName = FreshIni("filler.ini")
Set app = New HostApplication
app.EXEName = "FillerApp"
app.Title = "Filler Test"
Set form = New HostForm
form.Name = "frmMain"
Set filler = CreateObject("QlxWCommon.ActiveBarFiller")

' The program's name from the type library of the component beside the host, else EXEName.
For Each folder In Array("component", "none")
  If Not gFso.FolderExists(TestPath(folder)) Then gFso.CreateFolder TestPath(folder)
Next
gFso.CopyFile TestPath("qlxw_filler_host.dll"), TestPath("component") & "\FillerApp.dll"
For Each row In Array(Array("component", "library"), Array("none", "exe"))
  Set bar = New HostBar
  bar.Name = "abMain"
  app.PATH = TestPath(row(0))
  Check "filled by the " & row(1) & " class", filler.FillActiveBar(app, form, bar, "") & bar.Tag, _
    row(1) & "|frmMain|abMain|abMain|2057"
Next
' A component that is not registered, and one that refuses: the number kept, the cause and the ProgId
' at the end of the text.
On Error Resume Next
For Each row In Array(Array("NoSuchRes.Core", "", 429, "ActiveX component can't create object"), _
    Array("FillerAppRes.Core", "Refuse", 1001, "Pattern refused"))
  filler.FillActiveBarExplicit row(0), app, form, bar, row(1)
  Check row(0) & " (number)", Err.Number, CLng(row(2))
  Check row(0) & " (end)", Mid(Err.Description, InStrRev(Err.Description, vbCrLf & row(3) & vbCrLf)), _
    vbCrLf & row(3) & vbCrLf & "ProgId: " & row(0)
  Err.Clear
Next
On Error GoTo 0

' Below main version 4 the control takes LocalInfo's fonts: the menu font's size as a Single.
root.MainVer = 3
Set bar.Font = New HostFont
Set bar.ControlFont = New HostFont
CreateObject("QlxWCommon.ActiveBarFiller").FillActiveBar app, form, bar, ""
Check "the fonts set", Array(bar.Font.SizeType, bar.Font.Name, bar.ControlFont.Name), _
  Array("Single", root.LocalInfo.FontName, root.LocalInfo.FontName)

Finish
