#include "api/file_system_controller.h"

#include <utility>

#include "api/cls_common.h"
#include "config/ini_file.h"
#include "diag/trace.h"
#include "folders/folder_manager.h"
#include "folders/fsc_old.h"
#include "folders/fsc_replacer.h"
#include "language/localized_strings.h"
#include "os/notices.h"
#include "os/thread_state.h"

namespace qlxw {
namespace {

struct FolderControllerState {
  std::shared_ptr<FileSystemControllerInterface> controller;
  bool set = false;
};

using FolderControllerSlot = platform::ThreadState<FolderControllerState, platform::EndStage::kHostObjects>;

void TraceFolderControl(std::string_view what, INIManagerInterface& ini) {
  if (TraceOn()) {
    Trace(what, std::string_view(ini.INIFileName()), " ", kTraceTime);
  }
}

std::shared_ptr<FileSystemControllerInterface> Choose() {
  const std::int32_t mainVersion = GetMainVer();
  if (mainVersion >= 5) {
    SetFolderControllerOnce(std::make_shared<FSCReplacer>());
    return GetFolderController();
  }
  const auto ini = GetRootObject()->INI();
  const Variant folderControl = ini->LoadINIBoolean("setup", "FolderControl", mainVersion >= 5);
  const bool* on = std::get_if<bool>(&folderControl);
  if (on != nullptr && *on) {
    SetFolderControllerOnce(std::make_shared<FSCReplacer>());
    TraceFolderControl("clsFileSystemObject.FolderControl started ", *ini);
  } else {
    SetFolderControllerOnce(std::make_shared<clsFSCOld>());
    for (int beep = 0; beep < 3; ++beep) {
      platform::SoundBeep();
    }
    TraceFolderControl("clsFileSystemObject.FolderControl disabled ", *ini);
  }
  return GetFolderController();
}

}  // namespace

std::shared_ptr<FileSystemControllerInterface> GetFolderController() {
  const FolderControllerState* state = FolderControllerSlot::Find();
  return state == nullptr ? nullptr : state->controller;
}

void SetFolderControllerOnce(std::shared_ptr<FileSystemControllerInterface> controller) {
  FolderControllerState& state = FolderControllerSlot::Get();
  if (!state.set) {
    state.controller = std::move(controller);
    state.set = true;
  }
}

std::shared_ptr<FileSystemControllerInterface> ResolveFolderController() {
  if (!GetFolderController()) {
    return Choose();
  }
  if (TraceOn()) {
    TraceFolderControl("clsFileSystemObject.FolderControl disabled ", *GetRootObject()->INI());
  }
  return GetFolderController();
}

std::string FolderControllerName() {
  const auto controller = GetFolderController();
  if (!controller) {
    return {};
  }
  return dynamic_cast<const FSCReplacer*>(controller.get()) != nullptr ? "FSCReplacer" : "clsFSCOld";
}

clsFileSystemController::clsFileSystemController() {
  EnsureStringTables();
}

clsFileSystemController::~clsFileSystemController() {
  if (!tornDown_) {
    TearDown();
  }
}

std::string clsFileSystemController::gsUserName() const {
  return ResolveFolderController()->gsUserName();
}

void clsFileSystemController::gsUserName(const std::string& name) {
  ResolveFolderController()->gsUserName(name);
}

std::int32_t clsFileSystemController::lDebugId() const {
  return ResolveFolderController()->lDebugId();
}

void clsFileSystemController::TearDown() {
  try {
    ResolveFolderController()->TearDown();
  } catch (...) {  // NOLINT(bugprone-empty-catch): tearing down reports nothing to the host
  }
  tornDown_ = true;
}

void clsFileSystemController::SetDefaultForIx(std::int32_t lIx) {
  ResolveFolderController()->SetDefaultForIx(lIx);
}

void clsFileSystemController::SetDefaults() {
  ResolveFolderController()->SetDefaults();
}

void clsFileSystemController::SaveToRegistry() {
  ResolveFolderController()->SaveToRegistry();
}

void clsFileSystemController::Refresh() {
  ResolveFolderController()->Refresh();
}

std::string clsFileSystemController::QlxWHelpFileName(bool bPopup, bool bShowErr) {
  return ResolveFolderController()->QlxWHelpFileName(bPopup, bShowErr);
}

void clsFileSystemController::QlxWFolders(std::int32_t lIx, const std::string& path) {
  ResolveFolderController()->QlxWFolders(lIx, path);
}

std::string clsFileSystemController::QlxWFolders(std::int32_t lIx) {
  return ResolveFolderController()->QlxWFolders(lIx);
}

std::string clsFileSystemController::gcQLX25FileExt() const {
  return ResolveFolderController()->gcQLX25FileExt();
}

std::string clsFileSystemController::gcIBNFileExt() const {
  return ResolveFolderController()->gcIBNFileExt();
}

std::string clsFileSystemController::gcAW2FileExt() const {
  return ResolveFolderController()->gcAW2FileExt();
}

std::string clsFileSystemController::DefaultWorkspaceRoot() {
  return FolderManager().AbsolutePath(egsPath_WorkSpace);
}

std::string clsFileSystemController::DefaultUserFolder() {
  return FolderManager().AbsolutePath(egsPath_UserFolder);
}

std::string clsFileSystemController::SaveFolder() {
  return ResolveFolderController()->QlxWFolders(egsPath_SaveFolder);
}

}  // namespace qlxw
