#pragma once
// clsFSCOld: the legacy folder controller. Every folder is derived from the program folder the host
// sets (the system folder below it, most others below the system folder), named in the current
// language and created when missing; the template and save folders are kept in the folder-settings
// store. The folder table is shared by every instance of the thread.
#include <cstdint>
#include <string>

#include "folders/file_system_controller_interface.h"
#include "language/language_subscription.h"

namespace qlxw {

class clsFSCOld final : public FileSystemControllerInterface {
 public:
  clsFSCOld();

  std::string gsUserName() const override { return userName_; }
  void gsUserName(const std::string& name) override { userName_ = name; }
  std::int32_t lDebugId() const override { return debugId_; }
  void TearDown() override {}
  void SetDefaultForIx(std::int32_t lIx) override;
  void SetDefaults() override;
  void SaveToRegistry() override;
  void Refresh() override;
  std::string QlxWHelpFileName(bool bPopup = false, bool bShowErr = false) override;
  // Taken only for 1..15 and a folder that exists; anything else is ignored.
  void QlxWFolders(std::int32_t lIx, const std::string& path) override;
  // "" outside 1..15; otherwise the row, computed (and created, and saved) as needed.
  std::string QlxWFolders(std::int32_t lIx) override;
  std::string gcQLX25FileExt() const override { return kQlx25FileExt; }
  std::string gcIBNFileExt() const override { return kIbnFileExt; }
  std::string gcAW2FileExt() const override { return kAw2FileExt; }
  std::string DefaultWorkspaceRoot() override { return QlxWFolders(16); }
  std::string DefaultUserFolder() override { return QlxWFolders(3); }
  std::string SaveFolder() override { return QlxWFolders(2); }

 private:
  void SetForIx(std::int32_t lIx, bool bDefaultsOnly);
  void SetTemplateFolder(bool bDefaultsOnly);
  void SetSaveFolder(bool bDefaultsOnly);
  void SetOwnStoredFolder(std::int32_t lIx, const std::string& parent, const std::string& name,
                          bool bDefaultsOnly);
  void SetDerivedFolder(std::int32_t lIx);
  void CreateIfMissing(const std::string& path);
  bool bRegistrySetForIx(std::int32_t lIx, bool bSet);
  void RegistrySaveForIx(std::int32_t lIx);
  void CheckForIx(std::int32_t lIx, bool bFromRead);
  void SetProgramFolders();
  void CreateDir(const std::string& path);

  std::string userName_;
  std::int32_t debugId_ = 0;
  LanguageSubscription language_;
};

// The thread's legacy folder table, row `lIx` (1..15): what the controller has computed so far.
std::string LegacyFolderPath(std::int32_t lIx);

}  // namespace qlxw
