' clsCommonTypes has no members: early-bound hosts take its records (typeSaveDoc, typeSaveView ...) and
' ContentType from the type library; a script has no records and writes the ContentType values out.
Const HCT_Default = 0, HCT_Tool = 1, HCT_Band = 2, HCT_Form = 3, HCT_Op = 4
Set types = CreateObject("QlxWCommon.clsCommonTypes")
WScript.Echo "Made: " & TypeName(types) & ", a form's content type: " & HCT_Form
