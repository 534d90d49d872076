#include "core/shared_ini.h"

#include "config/ini_manager.h"
#include "core/cls_common.h"
#include "core/library_state.h"

namespace qlxw {

void EnsureINIManagers() {
  const std::int32_t mainVersion = GetMainVer();
  LibraryState& state = ThisThreadState();
  if (state.iniManagersCreated) {
    return;
  }
  if (mainVersion > 4) {
    state.sharedIni5 = std::make_shared<INIManager5>();
    state.sharedIni = state.sharedIni5->AsIniManager();
  } else {
    state.sharedIni = std::make_shared<INIManager>();
  }
  state.iniManagersCreated = true;
}

std::shared_ptr<INIManagerInterface> GetSharedINI() {
  EnsureINIManagers();
  return ThisThreadState().sharedIni;
}

std::shared_ptr<INIManager5> GetSharedINI5() {
  EnsureINIManagers();
  return ThisThreadState().sharedIni5;
}

}  // namespace qlxw
