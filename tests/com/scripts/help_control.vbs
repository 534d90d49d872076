' HelpControl as hosts use it: the viewer's two errors, Init's label rule, and a lookup without a viewer
' that answers False instead of failing.

Set help = CreateObject("QlxWCommon.HelpControl")
CreateObject("QlxWCommon.UILanguage").ChangeUILanguage 2057

On Error Resume Next
found = help.GetPDFViewerExeName(TestPath("missing.pdf"))
CheckError "a missing file", &H80040003, "File access error!2"
unknown = WriteFile(TestPath("manual.qlxwnone"), "x")
found = help.GetPDFViewerExeName(unknown)
CheckError "no program for the file", &H80040002, "Cannot found pdf reader!"

help.Init "help.txt", "manual.pdf", CreateObject("Scripting.Dictionary")
CheckError "Init takes a label only", 13, Null
help.Init "help.txt", "manual.pdf", Nothing
CheckError "Init without a label", 13, Null
On Error GoTo 0

shown = help.AcrobatLookupByFile(unknown, "Layers")
Check "no viewer: False", shown, False
CheckNoError "AcrobatLookupByFile does not fail"
shown = CreateObject("QlxWCommon.HelpControl").AcrobatLookupByFile(TestPath("missing.pdf"), "Layers")
Check "missing manual: False", shown, False

Finish
