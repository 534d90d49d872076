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
#include "platform/profile.h"
#include "platform/thread_end.h"
#include "platform/thread_slots.h"

namespace qlxw {
namespace {

using platform::GetThreadSlot;
using platform::SetThreadSlot;
using platform::ThreadSlot;

LibraryState* ThisThreadStateOrNone() {
  return static_cast<LibraryState*>(GetThreadSlot(ThreadSlot::kLibraryState));
}

// Ends this thread's state: the shared objects first, while the state is still reachable (an INI manager
// writing its defaults back reads the file name through ThisThreadState()), then the rest.
void EndThisThreadState() {
  LibraryState* state = ThisThreadStateOrNone();
  if (state == nullptr) {
    return;
  }
  state->ReleaseSharedObjects();
  SetThreadSlot(ThreadSlot::kLibraryState, nullptr);
  delete state;
}

void OnThreadEnd() {
  EndThisThreadState();
  // Should the thread use the library again while ending, it is watched again.
  SetThreadSlot(ThreadSlot::kLibraryStateWatched, nullptr);
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
  if (LibraryState* state = ThisThreadStateOrNone()) {
    return *state;
  }
  if (GetThreadSlot(ThreadSlot::kLibraryStateWatched) == nullptr) {
    // What the state's ending uses is made first, so that it is freed after the state.
    platform::PrepareProfileBuffers();
    platform::AtThisThreadEnd(OnThreadEnd);
    static int watched = 0;  // its address marks the thread as watched
    SetThreadSlot(ThreadSlot::kLibraryStateWatched, &watched);
  }
  auto* state = new LibraryState();
  SetThreadSlot(ThreadSlot::kLibraryState, state);
  return *state;
}

void ResetLibraryState() {
  EndThisThreadState();
  SetTraceSwitch(false);
}

}  // namespace qlxw
