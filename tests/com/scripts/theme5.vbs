' The theme of a main version 5 host (its INI manager is an INIManager5): read from the "mod" section,
' written back, and a value the manager cannot read, which shows a message box (it returns at once
' without a desktop) and leaves the defaults.

Set root = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 5
iniPath = WriteFile(FreshIni("theme5.ini"), Lines(Array("[MOD]", "style=7", "TransparentBands=-1")))
root.INIFileName = iniPath

Set theme = root.LocalInfo.Theme
Check "v5 style, bands", Array(theme.MenuStyleId, theme.TransparentBands), Array(CLng(7), True)
theme.MenuStyleId = 1
theme.TransparentBands = False
Check "v5 written", ReadFile(iniPath), Lines(Array("[MOD]", "style=1", "TransparentBands=False"))

WriteFile iniPath, Lines(Array("[mod]", "Style=" & String(1100, "4"), "TransparentBands=True"))
Set theme = CreateObject("QlxWCommon.DefaultTheme")
Check "after a failed read: style, bands", Array(theme.MenuStyleId, theme.TransparentBands), Array(CLng(0), False)

Finish
