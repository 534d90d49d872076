#pragma once
// The part of a COM class that stands for one core object: it holds the object, is the one COM object
// registered for it, and lets the server find it again when a host hands the COM object back.
#include <memory>
#include <utility>

#include "com/com_object.h"
#include "com/object_registry.h"

namespace qlxw::com {

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

}  // namespace qlxw::com
