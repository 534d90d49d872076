#include "core/library_state.h"

#include <memory>

#include "core/cls_common.h"
#include "diag/trace.h"

namespace qlxw {
namespace {

thread_local std::unique_ptr<LibraryState> tState;

}  // namespace

LibraryState& ThisThreadState() {
  if (!tState) {
    tState = std::make_unique<LibraryState>();
  }
  return *tState;
}

void ResetLibraryState() {
  // Take it out first: what ends with the old state must not find itself half destroyed. Anything
  // that ending creates in a new state is dropped too, so the next use really starts afresh.
  std::unique_ptr<LibraryState> old = std::move(tState);
  old.reset();
  tState.reset();
  SetTraceSwitch(false);
}

}  // namespace qlxw
