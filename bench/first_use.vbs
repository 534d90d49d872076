' A host's first use of the library in a fresh process, against the system's scripting runtime's first
' use in one of its own: run by bench/first_use.sh, one process a figure.
'   wine cscript //nologo bench\first_use.vbs library|runtime FOLDER
' Prints the milliseconds from the script's start to the end of its first use.
Option Explicit
Dim started, kind, folder, root, dictionary, fso, value
started = Timer
kind = WScript.Arguments(0)
folder = WScript.Arguments(1)
If kind = "library" Then
  ' The root object, its main version and INI file, one value read.
  Set root = CreateObject("QlxWCommon.clsCommon")
  root.MainVer = 5
  root.INIFileName = folder & "\first-use.ini"
  value = root.LoadINIValueByKey("Values", "Name")
Else
  ' A dictionary and a question to the file system.
  Set dictionary = CreateObject("Scripting.Dictionary")
  dictionary.Add "Key", "value"
  Set fso = CreateObject("Scripting.FileSystemObject")
  value = fso.FileExists(folder & "\first-use.ini")
End If
WScript.Echo FormatNumber((Timer - started) * 1000, 1, True, False, False)
