#pragma once
// A host's object as the library holds it: an IDispatch reached by member names.
#include <windows.h>

#include <oaidl.h>

#include <memory>

#include "platform/automation.h"

namespace qlxw::platform {

class DispatchObject final : public AutomationObject {
 public:
  explicit DispatchObject(IDispatch* object) noexcept;
  ~DispatchObject() override;
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  // The object as the host gave it (no new reference).
  IDispatch* Dispatch() const noexcept { return object_; }

  // A form has a window and a caption: it answers to both names.
  bool IsForm() const override;

  // Whether the object has a member of that name.
  bool HasMember(const wchar_t* name) const;

 private:
  IDispatch* object_;
};

// The object a host handed in, or null for none.
std::shared_ptr<AutomationObject> HostObject(IDispatch* object);

}  // namespace qlxw::platform
