#pragma once
// A few per-thread pointers the library keeps its state in. Native thread-local slots where C++
// thread-locals fall short: in a Windows DLL built with mingw they are gone before the DLL hears of a
// thread's end, when the state must still be found to end it.

namespace qlxw::platform {

enum class ThreadSlot {
  kThreadStates,
  kThreadEndCallbacks,
  kTraceSwitch,  // Windows only: POSIX keeps it in a faster C++ thread-local
  kCount,
};

void* GetThreadSlot(ThreadSlot slot) noexcept;
void SetThreadSlot(ThreadSlot slot, void* value) noexcept;

}  // namespace qlxw::platform
