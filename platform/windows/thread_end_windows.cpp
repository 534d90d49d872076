#include <windows.h>

#include "platform/thread_end_detail.h"

namespace qlxw::platform::detail {

// The loader tells the DLL of every thread that ends (DllMain below); nothing to arrange here.
void WatchThisThread() {}

}  // namespace qlxw::platform::detail

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID reserved) {
  // At process exit the other threads are gone already; the exiting thread still ends its state, so
  // that its INI managers write their defaults back.
  (void)reserved;
  if (reason == DLL_THREAD_DETACH || reason == DLL_PROCESS_DETACH) {
    qlxw::platform::detail::RunThreadEndCallbacks();
  }
  return TRUE;
}
