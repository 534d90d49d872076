#include "platform/thread_end.h"

#include <vector>

#include "platform/thread_end_detail.h"

namespace qlxw::platform {
namespace detail {

constinit thread_local std::vector<void (*)()>* tCallbacks = nullptr;

void RunThreadEndCallbacks() noexcept {
  // A callback may register another (a state made again while ending): run until none is left.
  while (tCallbacks != nullptr) {
    std::vector<void (*)()>* callbacks = tCallbacks;
    tCallbacks = nullptr;
    for (std::size_t i = callbacks->size(); i-- > 0;) {
      (*callbacks)[i]();
    }
    delete callbacks;
  }
}

}  // namespace detail

void AtThisThreadEnd(void (*callback)()) {
  if (detail::tCallbacks == nullptr) {
    detail::tCallbacks = new std::vector<void (*)()>();
    detail::WatchThisThread();
  }
  detail::tCallbacks->push_back(callback);
}

void EndThisThread() {
  detail::RunThreadEndCallbacks();
}

}  // namespace qlxw::platform
