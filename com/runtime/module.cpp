#include "com/runtime/module.h"

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>

namespace qlxw::com {
namespace {

std::atomic<long> gObjects{0};
std::atomic<long> gLocks{0};

struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const noexcept {
    return std::memcmp(&a, &b, sizeof(GUID)) < 0;
  }
};

// Type information is free-threaded; one copy serves every apartment. It lives as long as the module.
std::mutex gTypeMutex;
ITypeLib* gTypeLibrary = nullptr;
std::map<GUID, ITypeInfo*, GuidLess>* gTypeInfos = nullptr;

ITypeLib* LoadedTypeLibrary() {
  if (gTypeLibrary == nullptr) {
    const std::wstring path = ModulePath();
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &gTypeLibrary))) {
      gTypeLibrary = nullptr;
    }
  }
  return gTypeLibrary;
}

}  // namespace

HMODULE ModuleHandle() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleHandle), &module);
  return module;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(ModuleHandle(), path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ObjectCreated() noexcept {
  ++gObjects;
}

void ObjectDestroyed() noexcept {
  --gObjects;
}

void LockModule(bool lock) noexcept {
  if (lock) {
    ++gLocks;
  } else {
    --gLocks;
  }
}

bool ModuleInUse() noexcept {
  return gObjects.load() > 0 || gLocks.load() > 0;
}

ITypeLib* TypeLibrary() noexcept {
  const std::lock_guard<std::mutex> lock(gTypeMutex);
  return LoadedTypeLibrary();
}

ITypeInfo* TypeInfoOf(const GUID& guid) noexcept {
  try {
    const std::lock_guard<std::mutex> lock(gTypeMutex);
    if (gTypeInfos == nullptr) {
      gTypeInfos = new std::map<GUID, ITypeInfo*, GuidLess>();  // never freed: lives with the module
    }
    const auto found = gTypeInfos->find(guid);
    if (found != gTypeInfos->end()) {
      return found->second;
    }
    ITypeLib* library = LoadedTypeLibrary();
    ITypeInfo* info = nullptr;
    if (library == nullptr || FAILED(library->GetTypeInfoOfGuid(guid, &info))) {
      return nullptr;
    }
    gTypeInfos->emplace(guid, info);
    return info;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace qlxw::com
