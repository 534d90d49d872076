#include "config/shared_ini.h"

#include "config/ini_file.h"
#include "config/ini_manager.h"
#include "os/thread_state.h"

namespace qlxw {
namespace {

// The managers end first of everything on the thread: they write their defaults back to the file
// named in the settings, which end later.
struct SharedIniState {
  std::shared_ptr<INIManagerInterface> ini;
  std::shared_ptr<INIManager5> ini5;
  bool created = false;
};

using SharedIniStateSlot = platform::ThreadState<SharedIniState, platform::EndStage::kManagers>;

// Set once when the library is loaded, before any thread uses it.
void (*gMakeRootObject)() = nullptr;

}  // namespace

void SetRootObjectMaker(void (*makeRootObject)()) noexcept {
  gMakeRootObject = makeRootObject;
}

std::shared_ptr<INIManagerInterface> GetRootObjectINI() {
  if (gMakeRootObject != nullptr) {
    gMakeRootObject();
  }
  return GetSharedINI();
}

void EnsureINIManagers() {
  const std::int32_t mainVersion = GetMainVer();
  SharedIniState& state = SharedIniStateSlot::Get();
  if (state.created) {
    return;
  }
  if (mainVersion > 4) {
    state.ini5 = std::make_shared<INIManager5>();
    state.ini = state.ini5->AsIniManager();
  } else {
    state.ini = std::make_shared<INIManager>();
  }
  state.created = true;
}

std::shared_ptr<INIManagerInterface> GetSharedINI() {
  EnsureINIManagers();
  return SharedIniStateSlot::Get().ini;
}

std::shared_ptr<INIManager5> GetSharedINI5() {
  EnsureINIManagers();
  return SharedIniStateSlot::Get().ini5;
}

}  // namespace qlxw
