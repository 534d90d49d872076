#include "os/thread_end_detail.h"

namespace qlxw::platform::detail {
namespace {

// In a shared object C++ thread-local destructors run when the thread ends, main thread included.
struct Watcher {
  Watcher() = default;
  Watcher(const Watcher&) = delete;
  Watcher& operator=(const Watcher&) = delete;
  ~Watcher() { RunThreadEndCallbacks(); }
};

}  // namespace

void WatchThisThread() {
  thread_local Watcher watcher;
  (void)watcher;
}

}  // namespace qlxw::platform::detail
