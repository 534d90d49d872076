#pragma once
// The one COM object that stands for a core object: a core object handed out twice (the shared INI
// manager, for instance) is the same COM object both times, with the same event listeners.
#include <windows.h>

#include <unknwn.h>

#include <memory>
#include <type_traits>

namespace qlxw::com {

// The COM object registered for `core` (without a new reference), or null.
IUnknown* FindObjectFor(const void* core) noexcept;
void RegisterObjectFor(const void* core, IUnknown* object);
void UnregisterObjectFor(const void* core) noexcept;

// The address that names a core object whatever base it is seen through.
template <class Core>
const void* IdentityOf(const Core* core) noexcept {
  if constexpr (std::is_polymorphic_v<Core>) {
    return dynamic_cast<const void*>(core);
  } else {
    return core;
  }
}

// The COM object of class `Object` for `core` through `iid`: the registered one, or a new one.
// A null core gives a null object.
template <class Object, class Core>
HRESULT ObjectFor(const std::shared_ptr<Core>& core, const GUID& iid, void** out) {
  *out = nullptr;
  if (!core) {
    return S_OK;
  }
  if (IUnknown* existing = FindObjectFor(IdentityOf(core.get()))) {
    return existing->QueryInterface(iid, out);
  }
  return Object::CreateInstance(iid, out, core);
}

}  // namespace qlxw::com
