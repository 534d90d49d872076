' Objects as a host script holds them: one object reached through two paths is the same object, a
' host's own object comes back as it was given, and the folder keys walk with For Each.

' A stand-in for a host form: what makes a form is a window handle and a caption.
Class FakeForm
  Public hWnd
  Public Caption
End Class

Set root = CreateObject("QlxWCommon.clsCommon")
Set other = CreateObject("QlxWCommon.clsCommon")
root.MainVer = 5
root.INIFileName = FreshIni("objects.ini")
Set facade = CreateObject("QlxWCommon.CommonFacade")
Set tracing = CreateObject("QlxWCommon.clsDebug")
Set form = New FakeForm
Set root.oAppFrameForm = form
Set settings = CreateObject("QlxWCommon.IAppSettings")
Set root.AppSettings = settings
Set data = CreateObject("Scripting.Dictionary")
Set root.LocalInfo.ABSABToolTipModData = data
Set anchors = CreateObject("QlxWCommon.ILibAnchors")
Set facade.LibAnchors = anchors
tracing.colTraceObj.Add tracing, "debug"
For Each row In Array( _
    Array("the root's INI and the facade's", root.INI, facade.INI), _
    Array("INI5 behind INI", facade.INI5.AsIniManager, other.INI), _
    Array("the shared LocalInfo", root.LocalInfo, other.LocalInfo), _
    Array("its theme", root.LocalInfo.Theme, other.LocalInfo.Theme), _
    Array("the trace collection", tracing.colTraceObj, CreateObject("QlxWCommon.clsDebug").colTraceObj), _
    Array("an object in the collection", tracing.colTraceObj("DEBUG"), tracing), _
    Array("a host's form", other.oAppFrameForm, form), _
    Array("a settings store", other.AppSettings, settings), _
    Array("a host's tool-tip data", other.LocalInfo.ABSABToolTipModData, data), _
    Array("the anchors", CreateObject("QlxWCommon.CommonFacade").LibAnchors, anchors))
  CheckTrue row(0), row(1) Is row(2)
Next
Set root.AppSettings = Nothing
CheckTrue "Nothing put", other.AppSettings Is Nothing

Set folderKeys = CreateObject("QlxWCommon.Keys")
count = 0
For Each record In folderKeys
  If count = 0 Then first = record.Key
  count = count + 1
Next
Check "For Each visits every record", Array(CLng(count), TypeName(first)), Array(folderKeys.Count, "String")

Finish
