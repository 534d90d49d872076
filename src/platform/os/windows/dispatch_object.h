#pragma once
// A host's object as the library holds it: an IDispatch reached by member names.
#include <windows.h>

#include <oaidl.h>

#include <memory>
#include <string_view>
#include <vector>

#include "values/automation.h"

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
  bool IsDdeLabel() const override;

  // Whether the object has a member of that name.
  bool HasMember(const wchar_t* name) const;

  AutomationValue GetProperty(std::string_view name) override;
  void SetProperty(std::string_view name, const AutomationValue& value) override;
  AutomationValue CallMethod(std::string_view name, const std::vector<AutomationValue>& arguments) override;
  // The first method in the slot order of the interface the object's type information describes;
  // an object without type information fails with 438.
  AutomationValue CallFirstMethod(const std::vector<AutomationValue>& arguments) override;

 private:
  // The member's dispatch id, or error 438.
  DISPID MemberId(std::string_view name) const;
  DISPID FirstMethodId() const;
  AutomationValue Invoke(std::string_view name, WORD flags, const std::vector<AutomationValue>& arguments);
  AutomationValue Invoke(DISPID id, std::string_view name, WORD flags,
                         const std::vector<AutomationValue>& arguments);

  IDispatch* object_;
};

// The object a host handed in, or null for none.
std::shared_ptr<AutomationObject> HostObject(IDispatch* object);

}  // namespace qlxw::platform
