
#include <windows.h>

#include <cstddef>

#include "os/thread_end_detail.h"
#include "os/thread_slots.h"

namespace qlxw::platform {
namespace {

constexpr auto kSlots = static_cast<std::size_t>(ThreadSlot::kCount);
DWORD gSlots[kSlots] = {};  // allocated when the DLL is loaded, before any call into it

}  // namespace

void* GetThreadSlot(ThreadSlot slot) noexcept {
  return TlsGetValue(gSlots[static_cast<std::size_t>(slot)]);
}

void SetThreadSlot(ThreadSlot slot, void* value) noexcept {
  TlsSetValue(gSlots[static_cast<std::size_t>(slot)], value);
}

namespace detail {

// The loader tells the DLL of every thread that ends (DllMain below); nothing to arrange here.
void WatchThisThread() {}

}  // namespace detail
}  // namespace qlxw::platform

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
  using qlxw::platform::gSlots;
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      for (DWORD& slot : gSlots) {
        slot = TlsAlloc();
        if (slot == TLS_OUT_OF_INDEXES) {
          return FALSE;
        }
      }
      break;
    case DLL_THREAD_DETACH:
      qlxw::platform::detail::RunThreadEndCallbacks();
      break;
    case DLL_PROCESS_DETACH:
      // The other threads are gone already; the exiting thread still ends its state, so that its INI
      // managers write their defaults back.
      qlxw::platform::detail::RunThreadEndCallbacks();
      for (const DWORD slot : gSlots) {
        TlsFree(slot);
      }
      break;
    default:
      break;
  }
  return TRUE;
}
