#include "api/cls_common.h"

#include <cmath>
#include <limits>
#include <utility>

#include "api/form_sentinel.h"
#include "api/shared_local_info.h"
#include "config/ini_file.h"
#include "config/shared_ini.h"
#include "diag/trace.h"
#include "errors/lib_error.h"
#include "language/localized_strings.h"
#include "os/thread_state.h"

namespace qlxw {
namespace {

// What the root object keeps for the whole thread, so that every clsCommon a host makes sees it.
struct RootObjectState {
  std::string appTitle;
  std::string appComment;
  std::shared_ptr<IAppSettings> appSettings;
  std::shared_ptr<clsCommon> rootObject;
};

RootObjectState& RootState() {
  return platform::ThreadState<RootObjectState, platform::EndStage::kHostObjects>::Get();
}

// Services below reach the INI file through the root object, made here when the host has none.
const bool gRootObjectMakerSet = (SetRootObjectMaker([] { GetRootObject(); }), true);

}  // namespace

std::shared_ptr<clsCommon> clsCommon::Create() {
  auto root = std::make_shared<clsCommon>(Passkey{});
  SetRootObject(root);
  Trace("clsCommon.Class_Initialize << ", kTraceTime);
  return root;
}

clsCommon::clsCommon(Passkey /*onlyCreate*/) {
  Trace("clsCommon.Class_Initialize >> ", kTraceTime);
  EnsureStringTables();
  lMAX_LONG = std::numeric_limits<std::int32_t>::max();
  lMIN_LONG = std::numeric_limits<std::int32_t>::min();
  gdPI = 4.0 * std::atan(1.0);
  Trace("clsCommon.Class_Initialize 1 ", kTraceTime);
  gsMSG_WriteLog = "WriteLog";
  gsMSG_WriteLogFile = "WriteLogFile";
  gsMSG_WriteStatus = "WriteStatus";
  gsMSG_WriteInfoLine = "WriteInfoLine";
  gsMSG_AppendInfoLine = "AppendInfoLine";
  gsMSG_ProgressOn = "ProgressOn";
  gsMSG_ProgressOff = "ProgressOff";
  gsMSG_ProgressMin = "ProgressMin";
  gsMSG_ProgressMax = "ProgressMax";
  gsMSG_ProgressVal = "ProgressVal";
  gsMSG_ProgressIncr = "ProgressIncr";
  gsMSG_FromDoc = "FromDoc";
  gsMSG_DocIsLocked = "DocIsLocked";
  gsMSG_GotoXY = "GotoXY";
  gsMSG_UndoName = "UndoName";
  gsMSG_RedoName = "RedoName";
  gsMSG_ShowIoMngr = "ShowIoMngr";
  gsMSG_Createviewwindow = "CreateViewWindow";
  gsMSG_ShowInfoTable = "ShowInfoTable";
  gsMSG_ProjectOnClose = "ProjectOnClose";
  gs_MatchingTable = "MatchingTable";
  Trace("clsCommon.Class_Initialize 2 ", kTraceTime);
  Trace("clsCommon.Class_Initialize 3 ", kTraceTime);
}

void clsCommon::sAppTitle(const std::string& title) {
  RootState().appTitle = title;
}

std::string clsCommon::sAppTitle() const {
  return RootState().appTitle;
}

void clsCommon::sAppComment(const std::string& comment) {
  RootState().appComment = comment;
}

std::string clsCommon::sAppComment() const {
  return RootState().appComment;
}

void clsCommon::MainVer(std::int32_t mainVersion) {
  SetMainVer(mainVersion);
}

std::int32_t clsCommon::MainVer() const {
  return GetMainVer();
}

void clsCommon::TearDown() noexcept {
  try {
    oAppFrameForm(nullptr);
  } catch (...) {  // NOLINT(bugprone-empty-catch): tearing down never fails
  }
}

void clsCommon::oAppFrameForm(std::shared_ptr<AutomationObject> form) {
  if (form && !form->IsForm()) {
    RaiseAutomationError(kErrTypeMismatch);
  }
  SharedFormSentinel().AttachFrameForm(std::move(form));
}

std::shared_ptr<AutomationObject> clsCommon::oAppFrameForm() const {
  return SharedFormSentinel().GetFrameForm();
}

std::shared_ptr<qlxw::LocalInfo> clsCommon::LocalInfo() const {
  return GetLocalInfo();
}

void clsCommon::INIFileName(const std::string& name) {
  GetSharedINI()->INIFileName(name);
}

void clsCommon::WriteINIValueByKey(const std::string& section, const NullableText& key,
                                   const NullableText& value) {
  GetSharedINI()->WriteINIValueByKey(section, key, value);
}

std::string clsCommon::LoadINIValueByKey(const std::string& section, const std::string& key) {
  return GetSharedINI()->LoadINIValueByKey(section, key);
}

bool clsCommon::gSwapXY() {
  return GetSharedINI()->gSwapXY();
}

std::string clsCommon::gFirstCoorName() {
  return GetSharedINI()->gFirstCoorName();
}

std::string clsCommon::gSecondCoorName() {
  return GetSharedINI()->gSecondCoorName();
}

std::shared_ptr<INIManagerInterface> clsCommon::INI() {
  return GetSharedINI();
}

ANGLE_MODE clsCommon::gAngleMode() {
  return GetSharedINI()->gAngleMode();
}

std::shared_ptr<IAppSettings> clsCommon::AppSettings() const {
  return RootState().appSettings;
}

void clsCommon::AppSettings(std::shared_ptr<IAppSettings> settings) {
  RootState().appSettings = std::move(settings);
}

void SetRootObject(std::shared_ptr<clsCommon> root) {
  RootState().rootObject = std::move(root);
}

std::shared_ptr<clsCommon> GetRootObject() {
  if (!RootState().rootObject) {
    clsCommon::Create();
  }
  return RootState().rootObject;
}

}  // namespace qlxw
