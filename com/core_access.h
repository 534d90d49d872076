#pragma once
// How the server finds the core object behind one of its own COM objects.
#include <windows.h>

#include <unknwn.h>

#include <memory>

namespace qlxw::com {

// Lets the server find the core object behind one of its own COM objects (a host may hand ours back).
struct ICoreAccess : IUnknown {
  virtual std::shared_ptr<void> CoreObject() noexcept = 0;
  // The class of the COM object, which tells what the core object is.
  virtual const CLSID& CoreClassId() noexcept = 0;
};

}  // namespace qlxw::com

__CRT_UUID_DECL(qlxw::com::ICoreAccess, 0x3c0f6a52, 0x5e1d, 0x4b8a, 0x9f, 0x21, 0x6d, 0x4e, 0x0b, 0x7a, 0x13,
                0xc9)

namespace qlxw::com {

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

}  // namespace qlxw::com
