#pragma once
// The library-wide state: one copy per thread that uses the library, created on first use and torn
// down when the thread ends (or when a test starts afresh).
#include "diag/trace_settings.h"
#include "ui/language_state.h"

namespace qlxw {

class clsCommon;

struct LibraryState {
  LanguageState language;
  TraceSettings trace;
  std::int32_t mainVersion = 0;
  std::string appTitle;
  std::string appComment;
  std::shared_ptr<clsCommon> rootObject;
};

// This thread's state.
LibraryState& ThisThreadState();

// Ends this thread's state, as unloading the library from the thread would, so that the next use
// starts from nothing. The trace switch goes off too.
void ResetLibraryState();

}  // namespace qlxw
