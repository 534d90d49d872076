#include "core/library_state.h"

#include <memory>
#include <utility>

#include "config/app_settings.h"
#include "config/ini_items.h"
#include "config/ini_manager5.h"
#include "core/cls_common.h"
#include "core/common_facade.h"
#include "core/file_system_object.h"
#include "core/form_sentinel.h"
#include "diag/trace.h"
#include "platform/profile.h"
#include "platform/thread_end.h"

namespace qlxw {
namespace {

constinit thread_local LibraryState* tState = nullptr;
constinit thread_local bool tWatched = false;

// Ends this thread's state: the shared objects first, while the state is still reachable (an INI manager
// writing its defaults back reads the file name through ThisThreadState()), then the rest.
void EndThisThreadState() {
  if (tState == nullptr) {
    return;
  }
  tState->ReleaseSharedObjects();
  LibraryState* ended = std::exchange(tState, nullptr);
  delete ended;
}

void OnThreadEnd() {
  EndThisThreadState();
  tWatched = false;  // should the thread use the library again while ending, it is watched again
}

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
  if (tState != nullptr) {
    return *tState;
  }
  if (!tWatched) {
    // What the state's ending uses is made first, so that it is freed after the state.
    platform::PrepareProfileBuffers();
    platform::AtThisThreadEnd(OnThreadEnd);
    tWatched = true;
  }
  tState = new LibraryState();
  return *tState;
}

void ResetLibraryState() {
  EndThisThreadState();
  SetTraceSwitch(false);
}

}  // namespace qlxw
