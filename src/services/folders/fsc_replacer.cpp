#include "folders/fsc_replacer.h"

#include "errors/lib_error.h"
#include "folders/create_folders.h"
#include "language/localized_strings.h"
#include "os/file_system.h"
#include "os/notices.h"

namespace qlxw {

FSCReplacer::FSCReplacer() {
  EnsureStringTables();
  language_.AdoptRuntimeLanguage();
  manager_ = std::make_shared<FolderManager>();
}

void FSCReplacer::SetDefaultForIx(std::int32_t lIx) {
  manager_->SetDefault(lIx);
}

void FSCReplacer::SetDefaults() {
  manager_ = std::make_shared<FolderManager>();
}

void FSCReplacer::SaveToRegistry() {
  manager_->SaveToINI();
}

void FSCReplacer::Refresh() {
  manager_->LoadFromINI();
}

std::string FSCReplacer::QlxWHelpFileName(bool bPopup, bool bShowErr) {
  try {
    const std::string folder = QlxWFolders(egsPath_Help);
    return platform::GetFileSystemObject()->BuildPath(folder, bPopup ? kPopupHelpFileName : kHelpFileName);
  } catch (const std::exception&) {
    if (bShowErr) {
      // Fixed Hungarian text, as the hosts have always shown it.
      platform::ShowNotice("A helpfájl megnyitása nem sikerült!", kComponentName);
    }
    return {};
  }
}

void FSCReplacer::QlxWFolders(std::int32_t lIx, const std::string& path) {
  manager_->SetPath(lIx, path, true);
}

std::string FSCReplacer::QlxWFolders(std::int32_t lIx) {
  std::string path = manager_->AbsolutePath(lIx);
  if (CurrentFolderReads() == FolderReads::kAsHostsRead) {
    try {
      BruteForceCreateDir(path);
    } catch (const std::exception&) {  // NOLINT(bugprone-empty-catch): the path is returned all the same
    }
  }
  return path;
}

std::string FSCReplacer::DefaultWorkspaceRoot() {
  return QlxWFolders(egsPath_WorkSpace);
}

std::string FSCReplacer::DefaultUserFolder() {
  return QlxWFolders(egsPath_UserFolder);
}

std::string FSCReplacer::SaveFolder() {
  return QlxWFolders(egsPath_SaveFolder);
}

}  // namespace qlxw
