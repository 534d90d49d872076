' The settings store that keeps nothing, set as the root object's store: reads give zero or empty.
Set common = CreateObject("QlxWCommon.clsCommon")
Set common.AppSettings = CreateObject("QlxWCommon.IAppSettings")
Set settings = common.AppSettings
settings.SetLong "View", "Zoom", 150
WScript.Echo "Zoom stored: " & settings.CheckLong("View", "Zoom")
WScript.Echo "Zoom: " & settings.GetLong("View", "Zoom", 100)
WScript.Echo "Title: [" & settings.GetString("View", "Title", "Plan") & "]"
