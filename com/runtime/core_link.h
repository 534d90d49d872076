#pragma once
// The link between a COM object of the server and the core object it stands for: one COM object per
// core object (a manager handed out twice is the same COM object both times, with the same event
// listeners), the core object found again when a host hands one of ours back, and a host's own
// object held for the library and handed back as it came.
#include <windows.h>

#include <unknwn.h>

#include <memory>
#include <type_traits>
#include <utility>

#include "com/runtime/com_ptr.h"

namespace qlxw::com {

// Lets the server find the core object behind one of its own COM objects.
struct ICoreAccess : IUnknown {
  virtual std::shared_ptr<void> CoreObject() noexcept = 0;
  // The class of the COM object, which tells what the core object is.
  virtual const CLSID& CoreClassId() noexcept = 0;
};

}  // namespace qlxw::com

__CRT_UUID_DECL(qlxw::com::ICoreAccess, 0x3c0f6a52, 0x5e1d, 0x4b8a, 0x9f, 0x21, 0x6d, 0x4e, 0x0b, 0x7a, 0x13,
                0xc9)

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

// The core object behind `object` when it is one of ours of class `classId`, else null.
template <class Core>
std::shared_ptr<Core> CoreObjectOf(IUnknown* object, const CLSID& classId) {
  ICoreAccess* access = nullptr;
  if (object == nullptr ||
      FAILED(object->QueryInterface(__uuidof(ICoreAccess), reinterpret_cast<void**>(&access)))) {
    return nullptr;
  }
  std::shared_ptr<Core> core;
  if (IsEqualCLSID(access->CoreClassId(), classId)) {
    core = std::static_pointer_cast<Core>(access->CoreObject());
  }
  access->Release();
  return core;
}

// The part of a COM class that stands for one core object: it holds the object, is the one COM
// object registered for it, and lets the server find it again when a host hands the COM object back.
template <class Derived, class Core>
class CoreBacked : public ICoreAccess {
 public:
  using Implemented = ICoreAccess;
  CoreBacked(const CoreBacked&) = delete;
  CoreBacked& operator=(const CoreBacked&) = delete;

  std::shared_ptr<void> CoreObject() noexcept override { return core_; }
  const CLSID& CoreClassId() noexcept override { return Derived::ClassId(); }

 protected:
  CoreBacked() = default;
  // Unregistered before the core object is let go: its end (an INI manager writing back) finds no
  // COM object half gone.
  ~CoreBacked() {
    if (core_) {
      UnregisterObjectFor(IdentityOf(core_.get()));
    }
  }

  // Takes the core object, once, while the COM object is made.
  void StandFor(std::shared_ptr<Core> core) {
    core_ = std::move(core);
    RegisterObjectFor(IdentityOf(core_.get()), static_cast<ICoreAccess*>(this));
  }
  Core& Backed() const noexcept { return *core_; }

 private:
  std::shared_ptr<Core> core_;
};

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

// A host's object of `Interface` (a settings store, anchors) seen by the core as a `Core`; a class
// derived from it may forward the core's calls to the object.
template <class Core, class Interface>
class HandedInObject : public Core {
 public:
  explicit HandedInObject(Interface* object) : object_(object) {}
  Interface* Object() const noexcept { return object_.get(); }

 private:
  ComPtr<Interface> object_;
};

// What the core holds for an object handed in: the core object behind one of ours (class
// `ourClass`), else the host's object in a `Host`; none for none.
template <class Host, class Core, class Interface>
std::shared_ptr<Core> HeldForCore(Interface* object, const CLSID& ourClass) {
  if (object == nullptr) {
    return nullptr;
  }
  if (auto ours = CoreObjectOf<Core>(object, ourClass)) {
    return ours;
  }
  return std::make_shared<Host>(object);
}

// And back: the host's object as it came, or our COM object of class `Object` for a core object.
template <class Object, class Host, class Core>
HRESULT HandedBack(const std::shared_ptr<Core>& core, const GUID& iid, void** out) {
  if (const auto host = std::dynamic_pointer_cast<Host>(core)) {
    return host->Object()->QueryInterface(iid, out);
  }
  return ObjectFor<Object>(core, iid, out);
}

}  // namespace qlxw::com
