' clsCommon as a host script uses it.

' A stand-in for a host form: what makes a form is a window handle and a caption.
Class FakeForm
  Public hWnd
  Public Caption
End Class

Set root = CreateObject("QlxWCommon.clsCommon")

' Before the main version is set.
On Error Resume Next
version = root.MainVer
CheckError "MainVer unset", &H80040003, "Main version not initialized!"
text = root.LoadINIValueByKey("S", "K")
CheckError "LoadINIValueByKey unset", &H80040003, "Main version not initialized!"
Set ini = root.INI
CheckError "INI unset", &H80040003, "Main version not initialized!"
On Error GoTo 0

' Constants and message names.
Check "gdPI lMIN_LONG lMAX_LONG gsMSG_Createviewwindow", _
  Array(root.gdPI, root.lMIN_LONG, root.lMAX_LONG, root.gsMSG_Createviewwindow), _
  Array(4 * Atn(1), CLng(-2147483647 - 1), CLng(2147483647), "CreateViewWindow")

' The title is library-wide; message names are per instance.
Set other = CreateObject("QlxWCommon.clsCommon")
root.sAppTitle = "Surveyor"
Check "title through another root", other.sAppTitle, "Surveyor"
root.gsMSG_WriteLog = "MyLog"
Check "message name changed", root.gsMSG_WriteLog, "MyLog"
Check "message name of the other root", other.gsMSG_WriteLog, "WriteLog"

' The frame form.
CheckTrue "no form yet", root.oAppFrameForm Is Nothing
Set form = New FakeForm
Set root.oAppFrameForm = form
CheckTrue "the form comes back", other.oAppFrameForm Is form
On Error Resume Next
Set root.oAppFrameForm = CreateObject("Scripting.Dictionary")
CheckError "a non-form keeps the form", 13, Null
On Error GoTo 0
CheckTrue "form kept", root.oAppFrameForm Is form
root.TearDown
CheckTrue "TearDown detaches the form", root.oAppFrameForm Is Nothing

' The INI file name: set once; the same name again in other case is fine, another one is not.
root.MainVer = -1
Check "negative main version", root.MainVer, CLng(-1)
On Error Resume Next
For Each badName In Array("  ", TestPath("held") & Chr(0) & ".ini", Chr(0), TestPath("a|b.ini"))
  root.INIFileName = badName
  CheckError "INI name no file can have: " & Replace(badName, Chr(0), "<NUL>"), &H80040001, "Invalid inifile name!"
Next
root.INIFileName = FreshIni("root.ini")
CheckNoError "first INI name"
root.INIFileName = UCase(FreshIni("root.ini"))
CheckNoError "same name in capitals"
' The error's text is in the language the host switched to: the shared manager follows it.
CreateObject("QlxWCommon.UILanguage").ChangeUILanguage 2057
root.INIFileName = FreshIni("other.ini")
CheckError "a second name", &H80040003, "Error! ini-File path modifications are forbidden!"
CreateObject("QlxWCommon.UILanguage").ChangeUILanguage 1038
root.INIFileName = FreshIni("other.ini")
Check "in Hungarian", Left(Err.Description, 5), "Hiba!"
Err.Clear
On Error GoTo 0

' Negative main version: a plain INIManager (no INIManager5 behind the facade).
root.WriteINIValueByKey "Setup", "Units", "metric"
Check "read back", root.LoadINIValueByKey("Setup", "Units"), "metric"
Check "absent key through INIManager", root.LoadINIValueByKey("Setup", "Nothing"), "NULL"
CheckTrue "INI5 is nothing", CreateObject("QlxWCommon.CommonFacade").INI5 Is Nothing
root.MainVer = 5
Check "manager kind is fixed", root.LoadINIValueByKey("Setup", "Nothing"), "NULL"
Check "gSwapXY", root.gSwapXY, False
Check "gFirstCoorName", root.gFirstCoorName, "Y"
CheckTrue "INI is the same object twice", root.INI Is other.INI
CheckTrue "the file has the coordinate names", InStr(ReadFile(TestPath("root.ini")), "FirstCoordName=Y") > 0

' The settings object: none until set, then exactly the one set.
CheckTrue "no settings", root.AppSettings Is Nothing
Set settings = CreateObject("QlxWCommon.IAppSettings")
Set root.AppSettings = settings
CheckTrue "settings come back", other.AppSettings Is settings
Set root.AppSettings = Nothing
CheckTrue "settings cleared", root.AppSettings Is Nothing

Finish
