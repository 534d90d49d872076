' Late-bound names in any letter case: on the largest interface, and on both interfaces of a class that
' has two. A name no interface has is an error, as with any automation object.

Set root = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 5
iniPath = WriteFile(FreshIni("names.ini"), Lines(Array("[S]", "Key=value")))
root.INIFileName = iniPath
Set m5 = CreateObject("QlxWCommon.INIManager5")

Check "a property in capitals", root.LDEBUGID, root.lDebugId
Check "a property in small letters", root.ldebugid, root.lDebugId
Check "a method in small letters", root.loadinivaluebykey("S", "Key"), "value"
CheckTrue "the first interface's member in capitals", m5.ASINIMANAGER Is m5.AsIniManager
Check "the second interface's member in small letters", m5.loadinistring("S", "Key"), "value"
Check "the second interface's member in capitals", m5.LOADINISTRING("S", "Key"), "value"

On Error Resume Next
unknown = root.lDebugIds
CheckError "a name the interface lacks", 438, Null
unknown = m5.LoadINIStrin("S", "Key")
CheckError "a name neither interface has", 438, Null
On Error GoTo 0

Finish
