#include "com/runtime/core_link.h"

#include <map>
#include <mutex>

namespace qlxw::com {
namespace {

// Objects live in their apartments, the map in the process; never freed, so that objects released
// while the module unloads still find it.
std::mutex gMutex;
std::map<const void*, IUnknown*>& Objects() {
  static auto* objects = new std::map<const void*, IUnknown*>();
  return *objects;
}

}  // namespace

IUnknown* FindObjectFor(const void* core) noexcept {
  const std::lock_guard<std::mutex> lock(gMutex);
  const auto found = Objects().find(core);
  return found == Objects().end() ? nullptr : found->second;
}

void RegisterObjectFor(const void* core, IUnknown* object) {
  const std::lock_guard<std::mutex> lock(gMutex);
  Objects()[core] = object;
}

void UnregisterObjectFor(const void* core) noexcept {
  const std::lock_guard<std::mutex> lock(gMutex);
  Objects().erase(core);
}

}  // namespace qlxw::com
