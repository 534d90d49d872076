#include "os/windows/dispatch_object.h"

#include <dispex.h>
#include <oleauto.h>

#include <climits>
#include <cstdint>
#include <string>
#include <utility>

#include "errors/lib_error.h"
#include "os/windows/automation_values.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

DispatchObject::DispatchObject(IDispatch* object) noexcept : object_(object) {
  object_->AddRef();
}

DispatchObject::~DispatchObject() {
  object_->Release();
}

namespace {

// Finds a member's dispatch id by name; false when the object has none of that name.
bool FindMember(IDispatch* object, const wchar_t* name, DISPID& id) {
  // GetIDsOfNames only reads the names it is given.
  auto* names = const_cast<LPOLESTR>(name);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  if (SUCCEEDED(object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id))) {
    return true;
  }
  // Script objects may answer only through IDispatchEx (Wine's VBScript classes do).
  IDispatchEx* extended = nullptr;
  if (FAILED(object->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(&extended)))) {
    return false;
  }
  BSTR wanted = SysAllocString(name);
  const bool found =
      wanted != nullptr && SUCCEEDED(extended->GetDispID(wanted, fdexNameCaseInsensitive, &id));
  SysFreeString(wanted);
  extended->Release();
  return found;
}

// The error a failed call raises: the object's own number and description when it gave them.
[[noreturn]] void RaiseCallError(HRESULT result, EXCEPINFO& exception, std::string_view name) {
  if (result == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn != nullptr) {
      exception.pfnDeferredFillIn(&exception);
    }
    const auto code = static_cast<std::uint32_t>(exception.scode != 0 ? exception.scode : exception.wCode);
    std::string description = Utf8FromBstr(exception.bstrDescription);
    std::string source = Utf8FromBstr(exception.bstrSource);
    HelpReference help{Utf8FromBstr(exception.bstrHelpFile),
                       static_cast<std::int32_t>(exception.dwHelpContext)};
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    // Automation numbers travel as 0x800A0000 | n; the library knows them by n.
    const auto number =
        static_cast<std::int32_t>((code & 0xFFFF0000u) == 0x800A0000u ? code & 0xFFFFu : code);
    throw LibError(number, std::move(description), std::move(source), std::move(help));
  }
  switch (result) {
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
      RaiseAutomationError(kErrNoSuchMember);
    case DISP_E_TYPEMISMATCH:
      RaiseAutomationError(kErrTypeMismatch);
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTOPTIONAL:
      RaiseAutomationError(kErrWrongArgumentCount);
    default:
      throw LibError(static_cast<std::int32_t>(result), "Calling " + std::string(name) + " failed", {});
  }
}

}  // namespace

bool DispatchObject::HasMember(const wchar_t* name) const {
  DISPID id = DISPID_UNKNOWN;
  return FindMember(object_, name, id);
}

DISPID DispatchObject::MemberId(std::string_view name) const {
  DISPID id = DISPID_UNKNOWN;
  const std::wstring wide = WideFromUtf8(name);
  if (!FindMember(object_, wide.c_str(), id)) {
    RaiseAutomationError(kErrNoSuchMember);
  }
  return id;
}

AutomationValue DispatchObject::Invoke(std::string_view name, WORD flags,
                                       const std::vector<AutomationValue>& arguments) {
  return Invoke(MemberId(name), name, flags, arguments);
}

AutomationValue DispatchObject::Invoke(DISPID id, std::string_view name, WORD flags,
                                       const std::vector<AutomationValue>& arguments) {
  // DISPPARAMS holds the arguments last first.
  std::vector<VARIANT> values(arguments.size());
  for (VARIANT& value : values) {
    VariantInit(&value);
  }
  struct Clear {
    std::vector<VARIANT>& values;
    ~Clear() {
      for (VARIANT& value : values) {
        VariantClear(&value);
      }
    }
  } clear{values};
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    ToVariant(arguments[i], &values[arguments.size() - 1 - i]);
  }
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{values.data(), nullptr, static_cast<UINT>(values.size()), 0};
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  UINT argumentError = 0;
  const HRESULT invoked =
      object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &exception, &argumentError);
  if (FAILED(invoked)) {
    RaiseCallError(invoked, exception, name);
  }
  AutomationValue value;
  try {
    value = FromVariant(result);
  } catch (...) {
    VariantClear(&result);
    throw;
  }
  VariantClear(&result);
  return value;
}

AutomationValue DispatchObject::GetProperty(std::string_view name) {
  return Invoke(name, DISPATCH_PROPERTYGET, {});
}

void DispatchObject::SetProperty(std::string_view name, const AutomationValue& value) {
  Invoke(name, DISPATCH_PROPERTYPUT, {value});
}

AutomationValue DispatchObject::CallMethod(std::string_view name,
                                           const std::vector<AutomationValue>& arguments) {
  return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments);
}

namespace {

// Releases type information and what was taken from it when they go.
struct TypeInfoHeld {
  ITypeInfo* info = nullptr;
  TYPEATTR* attributes = nullptr;
  TypeInfoHeld() = default;
  TypeInfoHeld(const TypeInfoHeld&) = delete;
  TypeInfoHeld& operator=(const TypeInfoHeld&) = delete;
  ~TypeInfoHeld() {
    if (attributes != nullptr) {
      info->ReleaseTypeAttr(attributes);
    }
    if (info != nullptr) {
      info->Release();
    }
  }
};

// The method with the lowest vtable slot among the interface's own, or the first one listed for a
// pure dispatch interface; DISPID_UNKNOWN when there is none.
DISPID FirstMethodOf(ITypeInfo* info, const TYPEATTR& attributes) {
  DISPID first = DISPID_UNKNOWN;
  SHORT lowestSlot = SHRT_MAX;
  for (UINT i = 0; i < attributes.cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(i, &function))) {
      continue;
    }
    const bool isMethod =
        function->invkind == INVOKE_FUNC && (function->wFuncFlags & FUNCFLAG_FRESTRICTED) == 0;
    const bool earlier =
        attributes.typekind == TKIND_DISPATCH ? first == DISPID_UNKNOWN : function->oVft < lowestSlot;
    if (isMethod && earlier) {
      first = function->memid;
      lowestSlot = function->oVft;
    }
    info->ReleaseFuncDesc(function);
  }
  return first;
}

}  // namespace

DISPID DispatchObject::FirstMethodId() const {
  UINT count = 0;
  TypeInfoHeld held;
  if (FAILED(object_->GetTypeInfoCount(&count)) || count == 0 ||
      FAILED(object_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &held.info)) ||
      FAILED(held.info->GetTypeAttr(&held.attributes))) {
    RaiseAutomationError(kErrNoSuchMember);
  }
  // A dual interface lists its own methods in slot order on its vtable side.
  if (held.attributes->typekind == TKIND_DISPATCH && (held.attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0) {
    HREFTYPE vtableSide = 0;
    TypeInfoHeld vtable;
    if (SUCCEEDED(held.info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableSide)) &&
        SUCCEEDED(held.info->GetRefTypeInfo(vtableSide, &vtable.info)) &&
        SUCCEEDED(vtable.info->GetTypeAttr(&vtable.attributes))) {
      const DISPID id = FirstMethodOf(vtable.info, *vtable.attributes);
      if (id != DISPID_UNKNOWN) {
        return id;
      }
    }
  }
  const DISPID id = FirstMethodOf(held.info, *held.attributes);
  if (id == DISPID_UNKNOWN) {
    RaiseAutomationError(kErrNoSuchMember);
  }
  return id;
}

AutomationValue DispatchObject::CallFirstMethod(const std::vector<AutomationValue>& arguments) {
  return Invoke(FirstMethodId(), "the first method", DISPATCH_METHOD, arguments);
}

bool DispatchObject::IsForm() const {
  return HasMember(L"hWnd") && HasMember(L"Caption");
}

bool DispatchObject::IsDdeLabel() const {
  // A label has the link members of a DDE client but, being windowless, no window handle.
  return HasMember(L"LinkExecute") && HasMember(L"LinkTopic") && HasMember(L"Caption") && !HasMember(L"hWnd");
}

std::shared_ptr<AutomationObject> HostObject(IDispatch* object) {
  if (object == nullptr) {
    return nullptr;
  }
  return std::make_shared<DispatchObject>(object);
}

}  // namespace qlxw::platform
