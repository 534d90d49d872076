#pragma once
// Objects hosts hand the library (settings stores, anchors): the core holds them through its own
// interface and hands them back as they came.
#include <memory>

#include "com/com_object.h"
#include "com/object_registry.h"

namespace qlxw::com {

// A host's object of `Interface` seen by the core as a `Core`; a class derived from it may forward
// the core's calls to the object.
template <class Core, class Interface>
class HandedInObject : public Core {
 public:
  explicit HandedInObject(Interface* object) : object_(object) {}
  Interface* Object() const noexcept { return object_.get(); }

 private:
  ComPtr<Interface> object_;
};

// What the core holds for an object handed in: the core object behind one of ours (class `ourClass`),
// else the host's object in a `Host`; none for none.
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
