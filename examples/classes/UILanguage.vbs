' Switching the library's language: objects made after it name the host's folders in it.
Set language = CreateObject("QlxWCommon.UILanguage")
WScript.Echo "Language: " & language.Language & " (" & language.LanguageID & ")"
language.ChangeUILanguage 1038   ' Hungarian
WScript.Echo "Language: " & language.Language & " (" & language.LanguageID & ")"
WScript.Echo "Save folder: " & CreateObject("QlxWCommon.Keys")(2).Value
