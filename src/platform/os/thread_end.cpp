#include "os/thread_end.h"

#include <vector>

#include "os/thread_end_detail.h"
#include "os/thread_slots.h"

namespace qlxw::platform {
namespace detail {
namespace {

using Callbacks = std::vector<void (*)()>;

Callbacks* ThisThreadCallbacks() {
  return static_cast<Callbacks*>(GetThreadSlot(ThreadSlot::kThreadEndCallbacks));
}

}  // namespace

void RunThreadEndCallbacks() noexcept {
  // A callback may register another (a state made again while ending): run until none is left.
  while (Callbacks* callbacks = ThisThreadCallbacks()) {
    SetThreadSlot(ThreadSlot::kThreadEndCallbacks, nullptr);
    for (std::size_t i = callbacks->size(); i-- > 0;) {
      (*callbacks)[i]();
    }
    delete callbacks;
  }
}

}  // namespace detail

void AtThisThreadEnd(void (*callback)()) {
  detail::Callbacks* callbacks = detail::ThisThreadCallbacks();
  if (callbacks == nullptr) {
    callbacks = new detail::Callbacks();
    SetThreadSlot(ThreadSlot::kThreadEndCallbacks, callbacks);
    detail::WatchThisThread();
  }
  callbacks->push_back(callback);
}

void EndThisThread() {
  detail::RunThreadEndCallbacks();
}

}  // namespace qlxw::platform
