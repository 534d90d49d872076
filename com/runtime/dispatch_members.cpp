#include "com/runtime/dispatch_members.h"

#include <oleauto.h>

#include <cwctype>
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
  TYPEATTR* attributes = nullptr;
  if (info == nullptr || FAILED(info->GetTypeAttr(&attributes))) {
    return;
  }
  const UINT functions = attributes->cFuncs;
  info->ReleaseTypeAttr(attributes);
  std::vector<DISPID> memberIds;
  for (UINT index = 0; index < functions; ++index) {
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(index, &function))) {
      continue;
    }
    const DISPID id = function->memid;
    try {
      DescribeCall(*function);
    } catch (...) {
      info->ReleaseFuncDesc(function);
      throw;
    }
    info->ReleaseFuncDesc(function);
    BSTR name = nullptr;
    UINT got = 0;
    if (SUCCEEDED(info->GetNames(id, &name, 1, &got)) && got == 1 && name != nullptr) {
      names_.emplace_back(name, SysStringLen(name));
      memberIds.push_back(id);
    }
    SysFreeString(name);
  }
  for (std::size_t i = 0; i < names_.size(); ++i) {
    byName_.try_emplace(names_[i], memberIds[i]);  // a property's get and put share one name and id
    ids_.insert(memberIds[i]);
  }
}

void DispatchMembers::DescribeCall(const FUNCDESC& function) {
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
  if (!shape.optionalScalars.empty() || !shape.scalarByReference.empty()) {
    shapes_.insert_or_assign(CallKey(function.memid, function.invkind), std::move(shape));
  }
}

const CallShape* DispatchMembers::ShapeOf(DISPID id, WORD flags) const {
  if ((flags & DISPATCH_METHOD) != 0) {
    if (const auto found = shapes_.find(CallKey(id, INVOKE_FUNC)); found != shapes_.end()) {
      return &found->second;
    }
  }
  if ((flags & DISPATCH_PROPERTYGET) != 0) {
    if (const auto found = shapes_.find(CallKey(id, INVOKE_PROPERTYGET)); found != shapes_.end()) {
      return &found->second;
    }
  }
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    const INVOKEKIND kind = (flags & DISPATCH_PROPERTYPUT) != 0 ? INVOKE_PROPERTYPUT : INVOKE_PROPERTYPUTREF;
    if (const auto found = shapes_.find(CallKey(id, kind)); found != shapes_.end()) {
      return &found->second;
    }
  }
  return nullptr;
}

std::optional<DISPID> DispatchMembers::IdOf(std::wstring_view name) const {
  const auto found = byName_.find(name);
  return found == byName_.end() ? std::nullopt : std::optional<DISPID>(found->second);
}

HRESULT DispatchMembers::IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
  if (info_ == nullptr) {
    return E_UNEXPECTED;
  }
  if (count == 1 && names != nullptr && names[0] != nullptr && ids != nullptr) {
    if (const auto id = IdOf(names[0])) {
      ids[0] = *id;
      return S_OK;
    }
  }
  return info_->GetIDsOfNames(names, count, ids);
}

}  // namespace qlxw::com
