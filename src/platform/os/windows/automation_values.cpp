#include "os/windows/automation_values.h"

#include <oleauto.h>

#include <new>
#include <type_traits>

#include "errors/lib_error.h"
#include "os/windows/dispatch_object.h"
#include "os/windows/owned_variant.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

bool IsMissing(const VARIANT* value) noexcept {
  return value == nullptr || (value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND);
}

AutomationValue FromVariant(const VARIANT& value) {
  const VARIANT* given = &value;
  while (given->vt == (VT_BYREF | VT_VARIANT)) {
    if (given->pvarVal == nullptr) {
      return {};
    }
    given = given->pvarVal;
  }
  if (IsMissing(given)) {
    return {};
  }
  OwnedVariant plain;
  // mingw declares the source of VariantCopyInd non-const; it is only read.
  auto* source = const_cast<VARIANT*>(given);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  if (FAILED(VariantCopyInd(plain.get(), source))) {
    RaiseAutomationError(kErrTypeMismatch);
  }
  VARIANT& v = *plain.get();
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return {};
    case VT_BOOL:
      return v.boolVal != VARIANT_FALSE;
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_INT:
      if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4))) {
        return static_cast<std::int32_t>(v.lVal);
      }
      break;
    case VT_R4:
    case VT_R8:
    case VT_UI4:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_CY:
    case VT_DECIMAL:
      if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_R8))) {
        return v.dblVal;
      }
      break;
    case VT_BSTR:
      return Utf8FromBstr(v.bstrVal);
    case VT_DISPATCH:
      return HostObject(v.pdispVal);
    case VT_UNKNOWN: {
      if (v.punkVal == nullptr) {
        return std::shared_ptr<AutomationObject>();
      }
      IDispatch* object = nullptr;
      if (SUCCEEDED(v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object)))) {
        auto held = HostObject(object);
        object->Release();
        return held;
      }
      break;
    }
    default:
      if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_BSTR))) {
        return Utf8FromBstr(v.bstrVal);
      }
      break;
  }
  RaiseAutomationError(kErrTypeMismatch);
}

void ToVariant(const AutomationValue& value, VARIANT* out) {
  if (out == nullptr) {
    return;
  }
  VariantInit(out);
  std::visit(
      [out](const auto& held) {
        using T = std::decay_t<decltype(held)>;
        if constexpr (std::is_same_v<T, bool>) {
          out->vt = VT_BOOL;
          out->boolVal = held ? VARIANT_TRUE : VARIANT_FALSE;
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
          out->vt = VT_I4;
          out->lVal = held;
        } else if constexpr (std::is_same_v<T, double>) {
          out->vt = VT_R8;
          out->dblVal = held;
        } else if constexpr (std::is_same_v<T, std::string>) {
          out->bstrVal = BstrFromUtf8(held);
          out->vt = VT_BSTR;
        } else if constexpr (std::is_same_v<T, std::shared_ptr<AutomationObject>>) {
          // Objects come from hosts, and go back to them as they came.
          const auto object = std::dynamic_pointer_cast<DispatchObject>(held);
          out->vt = VT_DISPATCH;
          out->pdispVal = object ? object->Dispatch() : nullptr;
          if (out->pdispVal != nullptr) {
            out->pdispVal->AddRef();
          }
        }
      },
      value);
}

}  // namespace qlxw::platform
