' INIManager and INIManager5 as hosts use them: values written by one object are read by another,
' optional arguments take their defaults, defaults are written back when a manager is released.

Set root = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 5
iniPath = WriteFile(FreshIni("managers.ini"), _
  Lines(Array("[Values]", "Igaz=igaz", "[xy]", "SwapXY=TRUE", "[AngleMode]", "Mode=400")))
root.INIFileName = iniPath

' Written through the root object, read through separately created managers.
root.WriteINIValueByKey "Shared", "Written", "by the root"
Set m4 = CreateObject("QlxWCommon.INIManager")
Set m5 = CreateObject("QlxWCommon.INIManager5")
Check "INIManager reads the root's value", m4.LoadINIString("Shared", "Written", "none"), "by the root"
Check "INIManager5 reads the root's value", m5.LoadINIString("Shared", "Written"), "by the root"
Check "the managers share the file name", m5.INIFileName, iniPath

' Optional arguments left out.
Check "igaz, no default", m4.LoadINIBoolean("Values", "Igaz"), True
Check "absent Boolean, no default", m5.LoadINIBoolean("Values", "AbsentFlag"), False
Check "LoadINIString without a default", m4.LoadINIString("Values", "AbsentText"), ""

' Fixed settings.
Check "gSwapXY TRUE", m4.gSwapXY, True
Check "gAngleMode 400", m5.gAngleMode, CLng(1)

' A value of 1024 characters or more is a data-size error; LoadINIBoolean swallows it.
m5.WriteINIValueByKey "Long", "Huge", String(1100, "h")
On Error Resume Next
huge = m5.LoadINIString("Long", "Huge")
CheckError "1100 characters", &H80040002, Null
Check "LoadINIBoolean swallows it", IsEmpty(m5.LoadINIBoolean("Long", "Huge")), True
CheckNoError "LoadINIBoolean"
On Error GoTo 0

' Defaults read now are written when the managers are released, not before.
Check "defaults read", Array(m4.LoadINIString("Defaults", "FromManager4", "four"), _
  m5.LoadINIString("Defaults", "FromManager5", "five")), Array("four", "five")
CheckTrue "nothing written yet", InStr(ReadFile(iniPath), "FromManager4") = 0
Set m4 = Nothing
Set m5 = Nothing
content = ReadFile(iniPath)
CheckTrue "INIManager wrote its default", InStr(content, "FromManager4=four") > 0
CheckTrue "INIManager5 wrote its default", InStr(content, "FromManager5=five") > 0

' AsIniManager is the same object, seen through _INIManager.
Set m5 = CreateObject("QlxWCommon.INIManager5")
CheckTrue "AsIniManager is the object itself", m5.AsIniManager Is m5.AsIniManager
Check "through AsIniManager", m5.AsIniManager.LoadINIString("Shared", "Written"), "by the root"

' The facade gives the shared managers: INI5 is the INIManager5 behind INI.
Set facade = CreateObject("QlxWCommon.CommonFacade")
CheckTrue "INI5.AsIniManager is INI", facade.INI5.AsIniManager Is facade.INI
CheckTrue "the root's INI is the facade's", root.INI Is facade.INI

Finish
