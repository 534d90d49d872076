#include <windows.h>

#include <oaidl.h>
#include <objbase.h>

#include <string>

#include "errors/lib_error.h"
#include "os/components.h"
#include "os/windows/dispatch_object.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform::detail {

std::shared_ptr<AutomationObject> CreateSystemComponent(const std::string& progId) {
  const std::wstring id = WideFromUtf8(progId);
  CLSID classId{};
  IDispatch* object = nullptr;
  if (FAILED(CLSIDFromProgID(id.c_str(), &classId)) ||
      FAILED(
          CoCreateInstance(classId, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(&object)))) {
    RaiseAutomationError(kErrCannotCreateComponent, "ActiveX component can't create object");
  }
  try {
    std::shared_ptr<AutomationObject> held = HostObject(object);
    object->Release();  // the holder took its own reference
    return held;
  } catch (...) {
    object->Release();
    throw;
  }
}

}  // namespace qlxw::platform::detail
