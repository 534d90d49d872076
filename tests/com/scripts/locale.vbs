' LocalInfo as hosts use it: the font's language switch and its error texts, the objects hosts store,
' the shared instance behind clsCommon.LocalInfo, and the theme of main version 4 (main version 5 has a
' script of its own: the INI manager is chosen once per thread).

Set language = CreateObject("QlxWCommon.UILanguage")
' An object that follows the language, so that the library's texts follow it too.
Set plain = CreateObject("QlxWCommon.ITheme")

language.ChangeUILanguage 1066
Set li = CreateObject("QlxWCommon.LocalInfo")
Check "Vietnamese font", li.FontName, ".VnTime"
language.ChangeUILanguage 2057
Check "the font follows the language", li.FontName, "Arial"
Check "FontSize", li.FontSize, CSng(8)
li.MenuFontSize = 9.5
Check "MenuFontSize", li.MenuFontSize, CSng(9.5)

On Error Resume Next
li.FontName = ""
CheckError "empty font name (English)", 1001, "Invalid parameter"
language.ChangeUILanguage 1038
li.FontName = ""
CheckError "empty font name (Hungarian)", 1001, "Invlaid parameter"
On Error GoTo 0
Check "the font name stays", li.FontName, "Arial"

' The hook library's object is kept and handed back as it is.
CheckTrue "no tool-tip data yet", li.ABSABToolTipModData Is Nothing
Set data = CreateObject("Scripting.Dictionary")
Set li.ABSABToolTipModData = data
CheckTrue "the same object back", li.ABSABToolTipModData Is data

' One shared LocalInfo per thread, reached through any root object.
Set root = CreateObject("QlxWCommon.clsCommon")
Set other = CreateObject("QlxWCommon.clsCommon")
CheckTrue "the same object every time", root.LocalInfo Is other.LocalInfo
CheckTrue "not a created one", Not root.LocalInfo Is li
root.LocalInfo.Charset = 204
Check "shared values", other.LocalInfo.Charset, CLng(204)

' The theme needs the main version.
On Error Resume Next
Set theme = root.LocalInfo.Theme
CheckError "no main version", &H80040003, "Main version not initialized!"
On Error GoTo 0

' Main version 4: read from the "mod" section when made, written through on every put.
iniPath = WriteFile(FreshIni("locale.ini"), Lines(Array("[mod]", "Style=5", "TransparentBands=True")))
root.MainVer = 4
root.INIFileName = iniPath
Set theme = root.LocalInfo.Theme
CheckTrue "Theme is one object", root.LocalInfo.Theme Is theme
Check "v4 style, bands", Array(theme.MenuStyleId, theme.TransparentBands), Array(CLng(5), True)
theme.MenuStyleId = 2
theme.TransparentBands = False
Check "v4 written", ReadFile(iniPath), Lines(Array("[mod]", "Style=2", "TransparentBands=False"))
Set again = CreateObject("QlxWCommon.DefaultTheme")
Check "a DefaultTheme reads the file", again.MenuStyleId, CLng(2)
again.TransparentBands = True
Check "through DefaultTheme", ReadFile(iniPath), Lines(Array("[mod]", "Style=2", "TransparentBands=True"))
Check "read once: the first theme keeps its value", theme.TransparentBands, False

' The class ITheme does nothing.
plain.MenuStyleId = 4
Check "ITheme style", plain.MenuStyleId, CLng(0)

Finish
