' INIManager and INIManager5 as hosts reach them: a value written through the root object is read
' through managers created apart from it, and a default read is written back once its manager is
' released. deployment.sh runs this one where the server is registered otherwise or not at all.
Set root = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 5
iniPath = FreshIni("managers.ini")
root.INIFileName = iniPath
root.WriteINIValueByKey "Shared", "Written", "by the root"
Set m4 = CreateObject("QlxWCommon.INIManager")
Set m5 = CreateObject("QlxWCommon.INIManager5")
Check "read through both managers", Array(m4.LoadINIString("Shared", "Written", "none"), _
  m5.LoadINIString("Shared", "Written"), m5.INIFileName), Array("by the root", "by the root", iniPath)
Check "a default read", m4.LoadINIString("Defaults", "Released", "four"), "four"
CheckTrue "not written while the manager lives", InStr(ReadFile(iniPath), "Released") = 0
Set m4 = Nothing
CheckTrue "written once it is released", InStr(ReadFile(iniPath), "Released=four") > 0

Finish
