#pragma once
// The one contract through which hosts reach their data folders (the automation interface
// _clsFileSystemController), in its slot order. The controller class forwards to one of two
// implementations: FSCReplacer over the folder manager, and the legacy clsFSCOld.
#include <cstdint>
#include <string>

namespace qlxw {

class FileSystemControllerInterface {
 public:
  virtual ~FileSystemControllerInterface() = default;

  virtual std::string gsUserName() const = 0;
  virtual void gsUserName(const std::string& name) = 0;
  virtual std::int32_t lDebugId() const = 0;
  virtual void TearDown() = 0;
  virtual void SetDefaultForIx(std::int32_t lIx) = 0;
  virtual void SetDefaults() = 0;
  virtual void SaveToRegistry() = 0;
  virtual void Refresh() = 0;
  virtual std::string QlxWHelpFileName(bool bPopup = false, bool bShowErr = false) = 0;
  virtual void QlxWFolders(std::int32_t lIx, const std::string& path) = 0;
  virtual std::string QlxWFolders(std::int32_t lIx) = 0;
  virtual std::string gcQLX25FileExt() const = 0;
  virtual std::string gcIBNFileExt() const = 0;
  virtual std::string gcAW2FileExt() const = 0;
  virtual std::string DefaultWorkspaceRoot() = 0;
  virtual std::string DefaultUserFolder() = 0;
  virtual std::string SaveFolder() = 0;
};

// The file extensions both implementations answer, without a leading dot.
inline constexpr const char* kQlx25FileExt = "gdb";
inline constexpr const char* kIbnFileExt = "ibn";
inline constexpr const char* kAw2FileExt = "aw2";

// The compiled help file in the help folder, and its pop-up topic file.
inline constexpr const char* kHelpFileName = "QLX3_Help.chm";
inline constexpr const char* kPopupHelpFileName = "QLX3_Help.chm::/CSQLX3_Help.txt";

}  // namespace qlxw
