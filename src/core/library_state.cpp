#include "core/library_state.h"

#include <memory>

#include "config/app_settings.h"
#include "config/ini_items.h"
#include "config/ini_manager5.h"
#include "core/cls_common.h"
#include "core/common_facade.h"
#include "core/file_system_object.h"
#include "core/form_sentinel.h"
#include "diag/trace.h"

namespace qlxw {
namespace {

// Ends the shared objects before the rest, while this thread's state is still reachable: an INI
// manager writing its defaults back at thread exit reads the file name through ThisThreadState().
struct StateHolder {
  std::unique_ptr<LibraryState> state;
  StateHolder() = default;
  StateHolder(const StateHolder&) = delete;
  StateHolder& operator=(const StateHolder&) = delete;
  ~StateHolder() {
    if (state) {
      state->ReleaseSharedObjects();
    }
  }
};

thread_local StateHolder tHolder;

}  // namespace

LibraryState::~LibraryState() {
  ReleaseSharedObjects();
}

void LibraryState::ReleaseSharedObjects() noexcept {
  // Managers first, one at a time, so that each writes back while the rest of the state is there.
  auto ini = std::move(sharedIni);
  auto ini5 = std::move(sharedIni5);
  ini.reset();
  ini5.reset();
  rootObject.reset();
  formSentinel.reset();
  libAnchors.reset();
  appSettings.reset();
  fileSystemObject.reset();
}

LibraryState& ThisThreadState() {
  if (!tHolder.state) {
    tHolder.state = std::make_unique<LibraryState>();
  }
  return *tHolder.state;
}

void ResetLibraryState() {
  if (tHolder.state) {
    tHolder.state->ReleaseSharedObjects();
  }
  tHolder.state.reset();
  SetTraceSwitch(false);
}

}  // namespace qlxw
