#include "platform/windows/dispatch_object.h"

namespace qlxw::platform {

DispatchObject::DispatchObject(IDispatch* object) noexcept : object_(object) {
  object_->AddRef();
}

DispatchObject::~DispatchObject() {
  object_->Release();
}

bool DispatchObject::HasMember(const wchar_t* name) const {
  DISPID id = DISPID_UNKNOWN;
  auto* names = const_cast<LPOLESTR>(name);
  return SUCCEEDED(object_->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id));
}

bool DispatchObject::IsForm() const {
  return HasMember(L"hWnd") && HasMember(L"Caption");
}

std::shared_ptr<AutomationObject> HostObject(IDispatch* object) {
  if (object == nullptr) {
    return nullptr;
  }
  return std::make_shared<DispatchObject>(object);
}

}  // namespace qlxw::platform
