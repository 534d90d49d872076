#pragma once
// clsFileSystemController: the host's one entry point for its data folders. It keeps no folder data:
// every call goes to the thread's one implementation, chosen at the first call from the main version
// and, below 5, the INI switch "FolderControl" in section "setup" (FSCReplacer when on, the legacy
// clsFSCOld with three beeps when off or missing), and kept for the rest of the thread.
#include <memory>
#include <string>

#include "folders/file_system_controller_interface.h"

namespace qlxw {

class clsFileSystemController final : public FileSystemControllerInterface {
 public:
  clsFileSystemController();
  // Tears down first unless the host did: which resolves the implementation if nothing had.
  ~clsFileSystemController() override;
  clsFileSystemController(const clsFileSystemController&) = delete;
  clsFileSystemController& operator=(const clsFileSystemController&) = delete;

  std::string gsUserName() const override;
  void gsUserName(const std::string& name) override;
  std::int32_t lDebugId() const override;
  // Errors of the implementation are not reported; the implementation stays in use.
  void TearDown() override;
  void SetDefaultForIx(std::int32_t lIx) override;
  void SetDefaults() override;
  void SaveToRegistry() override;
  void Refresh() override;
  std::string QlxWHelpFileName(bool bPopup = false, bool bShowErr = false) override;
  void QlxWFolders(std::int32_t lIx, const std::string& path) override;
  std::string QlxWFolders(std::int32_t lIx) override;
  std::string gcQLX25FileExt() const override;
  std::string gcIBNFileExt() const override;
  std::string gcAW2FileExt() const override;
  // From a fresh FolderManager, whichever implementation is in use; chooses none.
  std::string DefaultWorkspaceRoot() override;
  std::string DefaultUserFolder() override;
  std::string SaveFolder() override;

 private:
  bool tornDown_ = false;
};

// The thread's implementation, none until chosen.
std::shared_ptr<FileSystemControllerInterface> GetFolderController();

// Stores the first implementation given on the thread; later calls are ignored.
void SetFolderControllerOnce(std::shared_ptr<FileSystemControllerInterface> controller);

// The implementation, chosen now when there is none (fails with 0x80040003 while no main version is
// set, storing nothing).
std::shared_ptr<FileSystemControllerInterface> ResolveFolderController();

// "FSCReplacer" or "clsFSCOld" for the thread's implementation; "" while none is chosen.
std::string FolderControllerName();

}  // namespace qlxw
