#pragma once
// FSCReplacer: the folder controller over a FolderManager. Folder paths follow the manager's
// definitions and its "Folders" INI section; a folder asked for is created on disk when missing.
#include <memory>
#include <string>

#include "folders/file_system_controller_interface.h"
#include "folders/folder_manager.h"
#include "language/language_subscription.h"

namespace qlxw {

class FSCReplacer final : public FileSystemControllerInterface {
 public:
  FSCReplacer();

  std::string gsUserName() const override { return userName_; }
  void gsUserName(const std::string& name) override { userName_ = name; }
  std::int32_t lDebugId() const override { return 0; }
  void TearDown() override {}
  // SetDefault on the manager.
  void SetDefaultForIx(std::int32_t lIx) override;
  // A new manager: every folder back at its default, the INI file neither read nor written.
  void SetDefaults() override;
  // SaveToINI on the manager.
  void SaveToRegistry() override;
  // LoadFromINI on the manager.
  void Refresh() override;
  // The help file in the help folder; on any failure "" (and the message, when `bShowErr`).
  std::string QlxWHelpFileName(bool bPopup = false, bool bShowErr = false) override;
  // Stored as given, never made relative.
  void QlxWFolders(std::int32_t lIx, const std::string& path) override;
  // The folder's path, created on disk when missing (a failure to create is not reported).
  std::string QlxWFolders(std::int32_t lIx) override;
  std::string gcQLX25FileExt() const override { return kQlx25FileExt; }
  std::string gcIBNFileExt() const override { return kIbnFileExt; }
  std::string gcAW2FileExt() const override { return kAw2FileExt; }
  std::string DefaultWorkspaceRoot() override;
  std::string DefaultUserFolder() override;
  std::string SaveFolder() override;

  const FolderManager& Manager() const noexcept { return *manager_; }

 private:
  LanguageSubscription language_;
  std::shared_ptr<FolderManager> manager_;
  std::string userName_;
};

}  // namespace qlxw
