' ---- the test ----
' LocalInfo as hosts use it: default fonts per language and the switch on a language change, the
' values hosts store, the shared instance behind clsCommon.LocalInfo, and the theme of main versions 3
' and 4 (main version 5 has a script of its own: the INI manager is chosen once per thread).
Dim language, plain, li, root, other, data, theme, again, iniPath, text

Set language = CreateObject("QlxWCommon.UILanguage")
' An object that follows the language, so that the library's texts follow it too.
Set plain = CreateObject("QlxWCommon.ITheme")

language.ChangeUILanguage 1066
Set li = CreateObject("QlxWCommon.LocalInfo")
Check "Vietnamese font", li.FontName, ".VnTime"
language.ChangeUILanguage 2074
Check "the font follows the language", li.FontName, "YUUSAL"
language.ChangeUILanguage 1038
Check "Hungarian font", li.FontName, "Arial"
language.ChangeUILanguage 2057
Check "English font", CreateObject("QlxWCommon.LocalInfo").FontName, "Arial"

Check "FontSize", li.FontSize, CSng(8)
Check "MenuFontSize", li.MenuFontSize, CSng(10)
li.MenuFontSize = 9.5
Check "MenuFontSize survives its text form", li.MenuFontSize, CSng(9.5)
li.FontSize = 11.25
Check "FontSize stored", li.FontSize, CSng(11.25)
li.FontName = "Tahoma"
Check "FontName stored", li.FontName, "Tahoma"

On Error Resume Next
li.FontName = ""
CheckError "empty font name (English)", 1001, "Invalid parameter"
language.ChangeUILanguage 1038
li.FontName = ""
CheckError "empty font name (Hungarian)", 1001, "Invlaid parameter"
On Error GoTo 0
Check "the font name stays", li.FontName, "Arial"

Check "UnicodeMenu", li.UnicodeMenu, False
li.UnicodeMenu = True
Check "UnicodeMenu stored", li.UnicodeMenu, True
Check "Charset", li.Charset, CLng(0)
li.Charset = 238
Check "Charset stored", li.Charset, CLng(238)
Check "DefaultFormDC", li.DefaultFormDC, ""
li.DefaultFormDC = "frmMain"
Check "DefaultFormDC stored", li.DefaultFormDC, "frmMain"
li.UserLocalization = True
Check "UserLocalization stored", li.UserLocalization, True

' The five hook switches are independent of each other.
li.IsMenuToolTipHook = True
Check "IsMenuToolTipHook", li.IsMenuToolTipHook, True
Check "IsMenuCaptionHook untouched", li.IsMenuCaptionHook, False
li.IsMenuCaptionHook = True
li.IsMenuToolTipHook = False
Check "IsMenuCaptionHook", li.IsMenuCaptionHook, True
Check "IsMenuToolTipHook off again", li.IsMenuToolTipHook, False
li.IsCaptionHook = True
Check "IsCaptionHook", li.IsCaptionHook, True
Check "IsMessageHook untouched", li.IsMessageHook, False
li.IsToolTipHook = True
Check "IsToolTipHook", li.IsToolTipHook, True
Check "IsMessageHook still untouched", li.IsMessageHook, False

' The hook library's object is kept and handed back as it is.
CheckTrue "no tool-tip data yet", li.ABSABToolTipModData Is Nothing
Set data = CreateObject("Scripting.Dictionary")
Set li.ABSABToolTipModData = data
CheckTrue "the same object back", li.ABSABToolTipModData Is data

' One shared LocalInfo per thread, reached through any root object.
Set root = CreateObject("QlxWCommon.clsCommon")
Set other = CreateObject("QlxWCommon.clsCommon")
CheckTrue "clsCommon.LocalInfo works", Not root.LocalInfo Is Nothing
CheckTrue "the same object every time", root.LocalInfo Is other.LocalInfo
CheckTrue "not a created one", Not root.LocalInfo Is li
root.LocalInfo.Charset = 204
Check "shared values", other.LocalInfo.Charset, CLng(204)

' The theme needs the main version.
On Error Resume Next
Set theme = root.LocalInfo.Theme
CheckError "no main version", &H80040003, "Main version not initialized!"
On Error GoTo 0

' Main version 3: no theme settings, whatever the file holds; puts store 0 and write nothing.
text = Lines(Array("[mod]", "Style=5", "TransparentBands=True"))
iniPath = WriteFile(FreshIni("locale.ini"), text)
root.MainVer = 3
root.INIFileName = iniPath
Set theme = root.LocalInfo.Theme
CheckTrue "Theme is one object", root.LocalInfo.Theme Is theme
Check "v3 style", theme.MenuStyleId, CLng(0)
Check "v3 bands", theme.TransparentBands, False
theme.MenuStyleId = 5
theme.TransparentBands = True
Check "v3 put stores 0", theme.MenuStyleId, CLng(0)
Check "v3 put stores False", theme.TransparentBands, False
Check "v3 leaves the file alone", ReadFile(iniPath), text

' Main version 4: read from the "mod" section when made, written through on every put.
root.MainVer = 4
Set theme = CreateObject("QlxWCommon.LocalInfo").Theme
Check "v4 style", theme.MenuStyleId, CLng(5)
Check "v4 bands", theme.TransparentBands, True
theme.MenuStyleId = 2
theme.TransparentBands = False
Check "v4 put", theme.MenuStyleId, CLng(2)
Check "v4 written", ReadFile(iniPath), Lines(Array("[mod]", "Style=2", "TransparentBands=False"))
Set again = CreateObject("QlxWCommon.DefaultTheme")
Check "a DefaultTheme reads the file", again.MenuStyleId, CLng(2)
again.TransparentBands = True
Check "through DefaultTheme", ReadFile(iniPath), Lines(Array("[mod]", "Style=2", "TransparentBands=True"))
Check "read once: the first theme keeps its value", theme.TransparentBands, False

WriteFile iniPath, Lines(Array("[Setup]", "Units=metric"))
Set theme = CreateObject("QlxWCommon.DefaultTheme")
Check "v4 without a mod section: style 3", theme.MenuStyleId, CLng(3)
Check "v4 without a mod section: no bands", theme.TransparentBands, False
WriteFile iniPath, Lines(Array("[mod]", "Style=wide", "TransparentBands=maybe"))
Set theme = CreateObject("QlxWCommon.DefaultTheme")
Check "unreadable style", theme.MenuStyleId, CLng(3)
Check "unreadable bands", theme.TransparentBands, False

' The class ITheme does nothing.
plain.MenuStyleId = 4
plain.TransparentBands = True
Check "ITheme style", plain.MenuStyleId, CLng(0)
Check "ITheme bands", plain.TransparentBands, False

Finish
