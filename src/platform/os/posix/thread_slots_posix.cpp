#include <cstddef>

#include "os/thread_slots.h"

namespace qlxw::platform {
namespace {

constexpr auto kSlots = static_cast<std::size_t>(ThreadSlot::kCount);
constinit thread_local void* tSlots[kSlots] = {};

}  // namespace

void* GetThreadSlot(ThreadSlot slot) noexcept {
  return tSlots[static_cast<std::size_t>(slot)];
}

void SetThreadSlot(ThreadSlot slot, void* value) noexcept {
  tSlots[static_cast<std::size_t>(slot)] = value;
}

}  // namespace qlxw::platform
