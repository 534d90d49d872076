#include "api/library_state.h"

#include "os/thread_state.h"

namespace qlxw {

void ResetLibraryState() {
  platform::EndThisThreadStates();
}

}  // namespace qlxw
