#include "os/windows/automation_values.h"

#include <oleauto.h>

#include <new>
#include <type_traits>

#include "errors/lib_error.h"
#include "os/windows/dispatch_object.h"
#include "os/windows/owned_variant.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {
namespace {

// The variant a chain of variants by reference leads to; null when one of them leads nowhere.
const VARIANT* FollowReferences(const VARIANT& value) {
  const VARIANT* given = &value;
  while (given->vt == (VT_BYREF | VT_VARIANT)) {
    if (given->pvarVal == nullptr) {
      return nullptr;
    }
    given = given->pvarVal;
  }
  return given;
}

// A copy that holds the value itself where the variant holds a reference to it (of any type).
void CopyWithoutReferences(const VARIANT& given, OwnedVariant& plain) {
  // mingw declares the source of VariantCopyInd non-const; it is only read.
  auto* source = const_cast<VARIANT*>(&given);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  if (FAILED(VariantCopyInd(plain.get(), source))) {
    RaiseAutomationError(kErrTypeMismatch);
  }
}

// How a value of each type is taken.
enum class TypeGroup {
  kEmpty,
  kBoolean,
  kInteger,  // fits 32 bits: widened
  kNumber,   // wider, unsigned 32-bit or with a fraction: a double
  kText,
  kObject,         // an automation object
  kUnknownObject,  // an object only when it is an automation object too
  kOther,          // dates, errors, arrays, ...: the text COM makes of them, when it makes one
};

TypeGroup GroupOf(VARTYPE type) {
  switch (type) {
    case VT_EMPTY:
    case VT_NULL:
      return TypeGroup::kEmpty;
    case VT_BOOL:
      return TypeGroup::kBoolean;
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_INT:
      return TypeGroup::kInteger;
    case VT_R4:
    case VT_R8:
    case VT_UI4:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_CY:
    case VT_DECIMAL:
      return TypeGroup::kNumber;
    case VT_BSTR:
      return TypeGroup::kText;
    case VT_DISPATCH:
      return TypeGroup::kObject;
    case VT_UNKNOWN:
      return TypeGroup::kUnknownObject;
    default:
      return TypeGroup::kOther;
  }
}

// Converts the value in place as COM converts it; a type mismatch when COM cannot.
void ChangeType(VARIANT& v, VARTYPE type) {
  if (FAILED(VariantChangeType(&v, &v, 0, type))) {
    RaiseAutomationError(kErrTypeMismatch);
  }
}

AutomationValue FromUnknown(IUnknown* unknown) {
  if (unknown == nullptr) {
    return std::shared_ptr<AutomationObject>();
  }
  IDispatch* object = nullptr;
  if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object)))) {
    RaiseAutomationError(kErrTypeMismatch);
  }
  auto held = HostObject(object);
  object->Release();
  return held;
}

// A value that holds no reference.
AutomationValue FromPlain(VARIANT& v) {
  switch (GroupOf(v.vt)) {
    case TypeGroup::kEmpty:
      return {};
    case TypeGroup::kBoolean:
      return v.boolVal != VARIANT_FALSE;
    case TypeGroup::kInteger:
      ChangeType(v, VT_I4);
      return static_cast<std::int32_t>(v.lVal);
    case TypeGroup::kNumber:
      ChangeType(v, VT_R8);
      return v.dblVal;
    case TypeGroup::kText:
      return Utf8FromBstr(v.bstrVal);
    case TypeGroup::kObject:
      return HostObject(v.pdispVal);
    case TypeGroup::kUnknownObject:
      return FromUnknown(v.punkVal);
    case TypeGroup::kOther:
      break;
  }
  ChangeType(v, VT_BSTR);
  return Utf8FromBstr(v.bstrVal);
}

}  // namespace

bool IsMissing(const VARIANT* value) noexcept {
  return value == nullptr || (value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND);
}

AutomationValue FromVariant(const VARIANT& value) {
  const VARIANT* given = FollowReferences(value);
  if (given == nullptr || IsMissing(given)) {
    return {};
  }
  OwnedVariant plain;
  CopyWithoutReferences(*given, plain);
  return FromPlain(*plain.get());
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
        } else if constexpr (std::is_same_v<T, float>) {
          out->vt = VT_R4;
          out->fltVal = held;
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
