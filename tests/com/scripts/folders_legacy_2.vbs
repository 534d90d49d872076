' A second process after folders_legacy_1.vbs: the template folder saved there is read back.
Set common = CreateObject("QlxWCommon.clsCommon")
common.MainVer = 4
common.INIFileName = TestPath("legacy.ini")
Check "read from the registry in a new run", CreateObject("QlxWCommon.clsFileSystemController").QlxWFolders(1), _
  TestPath("MyTemplates")

Finish
