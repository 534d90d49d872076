#include "com/runtime/dispatch_members.h"

#include <oleauto.h>

#include <algorithm>
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

// Far above what the library's largest interface has.
constexpr std::size_t kRememberedIds = 1024;

// The kinds of call a member may have, in the order of Member::kinds.
constexpr std::array<INVOKEKIND, 4> kKinds = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT,
                                              INVOKE_PROPERTYPUTREF};

// Whether an interface's own functions are all it has besides IDispatch's.
bool DerivesFromIDispatchAlone(ITypeInfo* view) {
  TYPEATTR* attributes = nullptr;
  if (FAILED(view->GetTypeAttr(&attributes))) {
    return false;
  }
  const WORD bases = attributes->cImplTypes;
  view->ReleaseTypeAttr(attributes);
  HREFTYPE reference = 0;
  ITypeInfo* base = nullptr;
  if (bases != 1 || FAILED(view->GetRefTypeOfImplType(0, &reference)) ||
      FAILED(view->GetRefTypeInfo(reference, &base))) {
    return bases == 0;
  }
  bool dispatch = false;
  if (SUCCEEDED(base->GetTypeAttr(&attributes))) {
    dispatch = IsEqualGUID(attributes->guid, IID_IDispatch) != FALSE;
    base->ReleaseTypeAttr(attributes);
  }
  base->Release();
  return dispatch;
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
  // Functions are found by id in the vtable view: the dispatch view counts the functions it inherits
  // in the index GetFuncDesc takes, and Wine's GetFuncIndexOfMemId does not.
  HREFTYPE vtable = 0;
  ITypeInfo* view = nullptr;
  if (info == nullptr || FAILED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable)) ||
      FAILED(info->GetRefTypeInfo(vtable, &view))) {
    return;
  }
  if (DerivesFromIDispatchAlone(view) &&
      FAILED(view->QueryInterface(IID_ITypeInfo2, reinterpret_cast<void**>(&indexed_)))) {
    indexed_ = nullptr;
  }
  view->Release();  // indexed_ keeps its own reference, as long as the module
}

ITypeInfo* DispatchMembers::FunctionOf(DISPID id, INVOKEKIND kind, FUNCDESC*& function) const {
  function = nullptr;
  UINT index = 0;
  if (indexed_ != nullptr) {
    if (FAILED(indexed_->GetFuncIndexOfMemId(id, kind, &index))) {
      return nullptr;
    }
    if (SUCCEEDED(indexed_->GetFuncDesc(index, &function))) {
      if (function->memid == id && function->invkind == kind) {
        return indexed_;
      }
      indexed_->ReleaseFuncDesc(function);
      function = nullptr;
    }
  }
  // Without an index, or one that points elsewhere: each function of the dispatch view in turn.
  TYPEATTR* attributes = nullptr;
  if (info_ == nullptr || FAILED(info_->GetTypeAttr(&attributes))) {
    return nullptr;
  }
  const UINT functions = attributes->cFuncs;
  info_->ReleaseTypeAttr(attributes);
  for (index = 0; index < functions; ++index) {
    if (SUCCEEDED(info_->GetFuncDesc(index, &function))) {
      if (function->memid == id && function->invkind == kind) {
        return info_;
      }
      info_->ReleaseFuncDesc(function);
    }
  }
  function = nullptr;
  return nullptr;
}

DispatchMembers::Member DispatchMembers::Described(DISPID id) const {
  Member member;
  for (std::size_t slot = 0; slot < kKinds.size(); ++slot) {
    FUNCDESC* function = nullptr;
    ITypeInfo* from = FunctionOf(id, kKinds[slot], function);
    if (from == nullptr) {
      continue;
    }
    member.exists = true;
    try {
      CallShape shape = ShapeOfCall(*function);
      if (!shape.optionalScalars.empty() || !shape.scalarByReference.empty()) {
        member.kinds[slot] = std::move(shape);
      }
    } catch (...) {
      from->ReleaseFuncDesc(function);
      throw;
    }
    from->ReleaseFuncDesc(function);
  }
  return member;
}

const DispatchMembers::Member& DispatchMembers::MemberOf(DISPID id) const {
  {
    const std::shared_lock lock(mutex_);
    if (const auto found = members_.find(id); found != members_.end()) {
      return found->second;
    }
  }
  Member described = Described(id);
  const std::unique_lock lock(mutex_);
  if (!described.exists && members_.size() >= kRememberedIds) {
    // Ids that are no member are remembered up to a bound: a client calling ever new ones (every
    // call of a second interface's member asks this one first) must not grow the table without end.
    static const Member kAbsent;
    return kAbsent;
  }
  return members_.try_emplace(id, std::move(described)).first->second;
}

bool DispatchMembers::Has(DISPID id) const {
  return MemberOf(id).exists;
}

const CallShape* DispatchMembers::ShapeOf(DISPID id, WORD flags) const {
  const Member& member = MemberOf(id);
  const auto adjusted = [&](INVOKEKIND kind) -> const CallShape* {
    const auto slot =
        static_cast<std::size_t>(std::find(kKinds.begin(), kKinds.end(), kind) - kKinds.begin());
    const std::optional<CallShape>& shape = member.kinds[slot];
    return shape ? &*shape : nullptr;
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
