' Anchors a host hands to the library through CommonFacade; they are replaced only once released.
Set facade = CreateObject("QlxWCommon.CommonFacade")
Set anchors = CreateObject("QlxWCommon.ILibAnchors")
anchors.Add CreateObject("Scripting.Dictionary")   ' the empty anchors keep nothing
WScript.Echo "Released: " & anchors.Released
Set facade.LibAnchors = anchors
WScript.Echo "Held by the facade: " & (facade.LibAnchors Is anchors)
On Error Resume Next
Set facade.LibAnchors = CreateObject("QlxWCommon.ILibAnchors")
WScript.Echo "Replaced while held: error " & Hex(Err.Number)
