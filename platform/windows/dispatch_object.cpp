#include "platform/windows/dispatch_object.h"

#include <dispex.h>
#include <oleauto.h>

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
  if (SUCCEEDED(object_->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id))) {
    return true;
  }
  // Script objects may answer only through IDispatchEx (Wine's VBScript classes do).
  IDispatchEx* extended = nullptr;
  if (FAILED(object_->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(&extended)))) {
    return false;
  }
  BSTR wanted = SysAllocString(name);
  const bool found =
      wanted != nullptr && SUCCEEDED(extended->GetDispID(wanted, fdexNameCaseInsensitive, &id));
  SysFreeString(wanted);
  extended->Release();
  return found;
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
