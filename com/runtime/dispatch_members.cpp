#include "com/runtime/dispatch_members.h"

#include <oleauto.h>

#include <cwctype>
#include <mutex>
#include <utility>

namespace qlxw::com {
namespace {

wchar_t Folded(wchar_t c) noexcept {
  if (c < 0x80) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
  }
  return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

// The plain type of a by-reference or by-value scalar parameter; VT_EMPTY for variants, arrays,
// objects and records, which Invoke passes on as they are.
VARTYPE ScalarTypeOf(const TYPEDESC& type) noexcept {
  const TYPEDESC& plain = type.vt == VT_PTR && type.lptdesc != nullptr ? *type.lptdesc : type;
  switch (plain.vt) {
    case VT_UI1:
    case VT_I2:
    case VT_I4:
    case VT_R8:
    case VT_BSTR:
    case VT_BOOL:
      return plain.vt;
    default:
      return VT_EMPTY;
  }
}

std::uint64_t CallKey(DISPID id, INVOKEKIND kind) noexcept {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(id)) << 32) |
         static_cast<std::uint32_t>(kind);
}

// What a call of this function must adjust in the arguments it is given.
CallShape ShapeOfCall(const FUNCDESC& function) {
  CallShape shape;
  for (SHORT i = 0; i < function.cParams; ++i) {
    const ELEMDESC& parameter = function.lprgelemdescParam[i];
    const USHORT flags = parameter.paramdesc.wParamFlags;
    const VARTYPE type = ScalarTypeOf(parameter.tdesc);
    if ((flags & PARAMFLAG_FRETVAL) != 0 || type == VT_EMPTY) {
      continue;
    }
    if (parameter.tdesc.vt == VT_PTR) {
      shape.scalarByReference.resize(static_cast<std::size_t>(i) + 1, false);
      shape.scalarByReference[static_cast<std::size_t>(i)] = true;
    }
    if ((flags & PARAMFLAG_FOPT) == 0) {
      continue;
    }
    OptionalScalar optional;
    optional.position = static_cast<std::size_t>(i);
    VARIANT none;
    VariantInit(&none);
    const bool hasDefault =
        (flags & PARAMFLAG_FHASDEFAULT) != 0 && parameter.paramdesc.pparamdescex != nullptr;
    VARIANT* from = hasDefault ? &parameter.paramdesc.pparamdescex->varDefaultValue : &none;
    if (SUCCEEDED(VariantChangeType(optional.value.get(), from, 0, type))) {
      shape.optionalScalars.push_back(std::move(optional));
    }
  }
  return shape;
}

}  // namespace

std::size_t NameNoCaseHash::operator()(std::wstring_view name) const noexcept {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const wchar_t c : name) {
    hash = (hash ^ static_cast<std::uint64_t>(Folded(c))) * 1099511628211ULL;
  }
  return static_cast<std::size_t>(hash);
}

bool NameNoCaseEquals::operator()(std::wstring_view a, std::wstring_view b) const noexcept {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && Folded(a[i]) != Folded(b[i])) {
      return false;
    }
  }
  return true;
}

DispatchMembers::DispatchMembers(ITypeInfo* info) : info_(info) {
  if (info == nullptr) {
    return;
  }
  // Functions are found by id in the vtable view of a dual interface: its dispatch view counts the
  // functions it inherits in the index GetFuncDesc takes, and Wine's GetFuncIndexOfMemId does not.
  ITypeInfo* functions = info;
  HREFTYPE vtable = 0;
  ITypeInfo* own = nullptr;
  if (SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable)) &&
      SUCCEEDED(info->GetRefTypeInfo(vtable, &own))) {
    functions = own;  // kept: type information lives as long as the module
  }
  if (SUCCEEDED(functions->QueryInterface(IID_ITypeInfo2, reinterpret_cast<void**>(&indexed_)))) {
    indexed_->Release();  // the object it came from keeps it
  }
}

DispatchMembers::Kind DispatchMembers::Described(DISPID id, INVOKEKIND kind) const {
  Kind described;
  UINT index = 0;
  FUNCDESC* function = nullptr;
  if (indexed_ == nullptr || FAILED(indexed_->GetFuncIndexOfMemId(id, kind, &index)) ||
      FAILED(indexed_->GetFuncDesc(index, &function))) {
    return described;
  }
  described.exists = true;
  try {
    described.shape = ShapeOfCall(*function);
  } catch (...) {
    indexed_->ReleaseFuncDesc(function);
    throw;
  }
  indexed_->ReleaseFuncDesc(function);
  return described;
}

const DispatchMembers::Kind& DispatchMembers::KindOf(DISPID id, INVOKEKIND kind) const {
  const std::uint64_t key = CallKey(id, kind);
  {
    const std::shared_lock lock(mutex_);
    if (const auto found = kinds_.find(key); found != kinds_.end()) {
      return found->second;
    }
  }
  Kind described = Described(id, kind);
  const std::unique_lock lock(mutex_);
  return kinds_.try_emplace(key, std::move(described)).first->second;
}

bool DispatchMembers::Has(DISPID id) const {
  for (const INVOKEKIND kind : {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF}) {
    if (KindOf(id, kind).exists) {
      return true;
    }
  }
  return false;
}

const CallShape* DispatchMembers::ShapeOf(DISPID id, WORD flags) const {
  const auto adjusted = [&](INVOKEKIND kind) -> const CallShape* {
    const CallShape& shape = KindOf(id, kind).shape;
    return shape.optionalScalars.empty() && shape.scalarByReference.empty() ? nullptr : &shape;
  };
  const CallShape* shape = nullptr;
  if ((flags & DISPATCH_METHOD) != 0) {
    shape = adjusted(INVOKE_FUNC);
  }
  if (shape == nullptr && (flags & DISPATCH_PROPERTYGET) != 0) {
    shape = adjusted(INVOKE_PROPERTYGET);
  }
  if (shape == nullptr && (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    shape = adjusted((flags & DISPATCH_PROPERTYPUT) != 0 ? INVOKE_PROPERTYPUT : INVOKE_PROPERTYPUTREF);
  }
  return shape;
}

HRESULT DispatchMembers::IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
  if (info_ == nullptr) {
    return E_UNEXPECTED;
  }
  const bool one = count == 1 && names != nullptr && names[0] != nullptr && ids != nullptr;
  if (one) {
    const std::shared_lock lock(mutex_);
    if (const auto found = byName_.find(std::wstring_view(names[0])); found != byName_.end()) {
      ids[0] = found->second;
      return S_OK;
    }
  }
  const HRESULT result = info_->GetIDsOfNames(names, count, ids);
  if (one && result == S_OK) {
    const std::unique_lock lock(mutex_);
    byName_.try_emplace(names[0], ids[0]);
  }
  return result;
}

}  // namespace qlxw::com
