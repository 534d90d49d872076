' The theme that keeps nothing: puts are ignored, reads give 0 and False.
Set theme = CreateObject("QlxWCommon.ITheme")
theme.MenuStyleId = 2
theme.TransparentBands = True
WScript.Echo "Menu style: " & theme.MenuStyleId & ", transparent bands: " & theme.TransparentBands
