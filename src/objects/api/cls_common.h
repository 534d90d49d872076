#pragma once
// clsCommon: the root object a host holds to reach the library. Its message names and constants are
// per instance; title, comment and main version are library-wide. The newest instance is the shared
// root object of its thread.
#include <cstdint>
#include <memory>
#include <string>

#include "config/app_settings.h"
#include "config/ini_manager_interface.h"
#include "values/automation.h"

namespace qlxw {

class LocalInfo;

class clsCommon {
  struct Passkey {};

 public:
  // Builds a root object and registers it as the shared one (the newest wins).
  static std::shared_ptr<clsCommon> Create();
  explicit clsCommon(Passkey /*onlyCreate*/);

  // Message names hosts exchange with one another; the library never reads them.
  std::string gsMSG_WriteLog;
  std::string gsMSG_WriteLogFile;
  std::string gsMSG_WriteStatus;
  std::string gsMSG_WriteInfoLine;
  std::string gsMSG_AppendInfoLine;
  std::string gsMSG_ProgressOn;
  std::string gsMSG_ProgressOff;
  std::string gsMSG_ProgressMin;
  std::string gsMSG_ProgressMax;
  std::string gsMSG_ProgressVal;
  std::string gsMSG_ProgressIncr;
  std::string gsMSG_FromDoc;
  std::string gsMSG_DocIsLocked;
  std::string gsMSG_GotoXY;
  std::string gsMSG_UndoName;
  std::string gsMSG_RedoName;
  std::string gsMSG_ShowIoMngr;
  std::string gsMSG_Createviewwindow;
  std::string gsMSG_ShowInfoTable;
  std::string gsMSG_ProjectOnClose;
  std::string gs_MatchingTable;

  std::int32_t lMAX_LONG = 0;
  std::int32_t lMIN_LONG = 0;
  double gdPI = 0.0;

  std::int32_t lDebugId() const noexcept { return debugId_; }

  void sAppTitle(const std::string& title);
  std::string sAppTitle() const;
  void sAppComment(const std::string& comment);
  std::string sAppComment() const;

  // Any value, at any time; 0 means not set.
  void MainVer(std::int32_t mainVersion);
  std::int32_t MainVer() const;

  // Detaches the frame form; never fails and releases nothing else.
  void TearDown() noexcept;
  // A host form, or none; anything that is not a form fails with type mismatch (13) and changes nothing.
  void oAppFrameForm(std::shared_ptr<AutomationObject> form);
  std::shared_ptr<AutomationObject> oAppFrameForm() const;

  // The thread's shared LocalInfo.
  std::shared_ptr<qlxw::LocalInfo> LocalInfo() const;

  // Pass-throughs to the shared INI manager; each fails while no main version is set.
  void INIFileName(const std::string& name);
  void WriteINIValueByKey(const std::string& section, const NullableText& key, const NullableText& value);
  std::string LoadINIValueByKey(const std::string& section, const std::string& key);
  bool gSwapXY();
  std::string gFirstCoorName();
  std::string gSecondCoorName();
  std::shared_ptr<INIManagerInterface> INI();
  ANGLE_MODE gAngleMode();

  // The host's settings store, none until a host sets one.
  std::shared_ptr<IAppSettings> AppSettings() const;
  void AppSettings(std::shared_ptr<IAppSettings> settings);

 private:
  std::int32_t debugId_ = 0;
};

// Makes `root` the shared root object, releasing the one registered before.
void SetRootObject(std::shared_ptr<clsCommon> root);

// The shared root object; one is created when the host has none.
std::shared_ptr<clsCommon> GetRootObject();

}  // namespace qlxw
