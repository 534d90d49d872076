#pragma once
// Shared by the portable part of the thread-end service and each platform's part.

namespace qlxw::platform::detail {

// Runs and frees this thread's callbacks.
void RunThreadEndCallbacks() noexcept;

// Makes sure RunThreadEndCallbacks runs when this thread ends.
void WatchThisThread();

}  // namespace qlxw::platform::detail
