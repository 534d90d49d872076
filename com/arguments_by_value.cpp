#include "com/arguments_by_value.h"

#include <oleauto.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

namespace qlxw::com {
namespace {

// A by-reference variant holding a plain value (not an array, object or another reference).
bool PlainValueByReference(const VARIANT& argument) noexcept {
  if (argument.vt != (VT_BYREF | VT_VARIANT) || argument.pvarVal == nullptr) {
    return false;
  }
  const VARTYPE inner = argument.pvarVal->vt;
  return (inner & (VT_ARRAY | VT_BYREF)) == 0 && inner != VT_DISPATCH && inner != VT_UNKNOWN;
}

bool LeftOut(const VARIANT& argument) noexcept {
  return argument.vt == VT_ERROR && argument.scode == DISP_E_PARAMNOTFOUND;
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

// An optional scalar parameter and the value that stands for it when left out.
struct OptionalScalar {
  std::size_t position = 0;
  mutable VARIANT value{};  // VariantCopy takes its source as non-const; it is only read
};

// What one member needs filled in. Built once per member: a type library does not change while the
// module is loaded, and the walk below would otherwise run on every late-bound call.
class OptionalScalars {
 public:
  OptionalScalars() = default;
  OptionalScalars(const OptionalScalars&) = delete;
  OptionalScalars& operator=(const OptionalScalars&) = delete;
  ~OptionalScalars() {
    for (OptionalScalar& parameter : parameters) {
      VariantClear(&parameter.value);
    }
  }
  bool found = false;  // whether the member exists with this kind of call
  std::vector<OptionalScalar> parameters;
};

// The member's description, found by dispatch id and kind of call. (Wine's GetFuncIndexOfMemId
// counts inherited IDispatch members that GetFuncDesc does not: the functions are walked instead.)
FUNCDESC* FindFunction(ITypeInfo* info, DISPID id, INVOKEKIND kind) {
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) {
    return nullptr;
  }
  const WORD count = attributes->cFuncs;
  info->ReleaseTypeAttr(attributes);
  for (UINT index = 0; index < count; ++index) {
    FUNCDESC* function = nullptr;
    if (SUCCEEDED(info->GetFuncDesc(index, &function))) {
      if (function->memid == id && function->invkind == kind) {
        return function;
      }
      info->ReleaseFuncDesc(function);
    }
  }
  return nullptr;
}

std::unique_ptr<OptionalScalars> DescribeOptionalScalars(ITypeInfo* info, DISPID id, INVOKEKIND kind) {
  auto described = std::make_unique<OptionalScalars>();
  FUNCDESC* function = FindFunction(info, id, kind);
  if (function == nullptr) {
    return described;
  }
  described->found = true;
  for (SHORT i = 0; i < function->cParams; ++i) {
    const ELEMDESC& parameter = function->lprgelemdescParam[i];
    const USHORT parameterFlags = parameter.paramdesc.wParamFlags;
    const VARTYPE type = ScalarTypeOf(parameter.tdesc);
    if ((parameterFlags & PARAMFLAG_FRETVAL) != 0 || (parameterFlags & PARAMFLAG_FOPT) == 0 ||
        type == VT_EMPTY) {
      continue;
    }
    OptionalScalar optional;
    optional.position = static_cast<std::size_t>(i);
    VariantInit(&optional.value);
    VARIANT none;
    VariantInit(&none);
    const bool hasDefault =
        (parameterFlags & PARAMFLAG_FHASDEFAULT) != 0 && parameter.paramdesc.pparamdescex != nullptr;
    if (SUCCEEDED(VariantChangeType(&optional.value,
                                    hasDefault ? &parameter.paramdesc.pparamdescex->varDefaultValue : &none,
                                    0, type))) {
      described->parameters.push_back(optional);
    }
  }
  info->ReleaseFuncDesc(function);
  return described;
}

const OptionalScalars& OptionalScalarsOf(ITypeInfo* info, DISPID id, INVOKEKIND kind) {
  static std::mutex guard;
  static std::map<std::tuple<ITypeInfo*, DISPID, INVOKEKIND>, std::unique_ptr<OptionalScalars>> known;
  const std::lock_guard<std::mutex> lock(guard);
  auto& entry = known[{info, id, kind}];
  if (!entry) {
    entry = DescribeOptionalScalars(info, id, kind);
  }
  return *entry;
}

}  // namespace

ArgumentsByValue::ArgumentsByValue(DISPPARAMS* params, ITypeInfo* info, DISPID id, WORD flags)
    : params_(params) {
  if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr)) {
    return;
  }
  values_.assign(params->rgvarg, params->rgvarg + params->cArgs);  // shallow: the caller's values
  owned_.assign(params->cArgs, false);
  if (info != nullptr && params->cNamedArgs == 0) {
    FillInDefaults(info, id, flags);
  }
  bool changed = std::find(owned_.begin(), owned_.end(), true) != owned_.end();
  for (std::size_t i = 0; i < values_.size(); ++i) {
    VARIANT value;
    VariantInit(&value);
    if (PlainValueByReference(values_[i]) && SUCCEEDED(VariantCopy(&value, values_[i].pvarVal))) {
      values_[i] = value;
      owned_[i] = true;
      changed = true;
    }
  }
  if (!changed) {
    values_.clear();
    owned_.clear();
    return;
  }
  copy_ = *params;
  copy_.rgvarg = values_.data();
  copy_.cArgs = static_cast<UINT>(values_.size());
  params_ = &copy_;
}

void ArgumentsByValue::FillInDefaults(ITypeInfo* info, DISPID id, WORD flags) {
  // Scripts call with both flags when they use a result: a method, else a property get.
  const OptionalScalars* optional = nullptr;
  if ((flags & DISPATCH_METHOD) != 0) {
    optional = &OptionalScalarsOf(info, id, INVOKE_FUNC);
  }
  if ((optional == nullptr || !optional->found) && (flags & DISPATCH_PROPERTYGET) != 0) {
    optional = &OptionalScalarsOf(info, id, INVOKE_PROPERTYGET);
  }
  if (optional == nullptr || optional->parameters.empty()) {
    return;
  }
  // Arguments come last first: the first parameter's is at the end.
  std::vector<VARIANT> inOrder(values_.rbegin(), values_.rend());
  std::vector<bool> ownedInOrder(owned_.rbegin(), owned_.rend());
  bool filled = false;
  for (const OptionalScalar& parameter : optional->parameters) {
    const std::size_t at = parameter.position;
    if (at < inOrder.size() && !LeftOut(inOrder[at])) {
      continue;
    }
    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantCopy(&value, &parameter.value))) {
      continue;
    }
    // Left-out arguments before this one stay marked as left out.
    while (inOrder.size() <= at) {
      VARIANT missing;
      VariantInit(&missing);
      missing.vt = VT_ERROR;
      missing.scode = DISP_E_PARAMNOTFOUND;
      inOrder.push_back(missing);
      ownedInOrder.push_back(false);
    }
    inOrder[at] = value;
    ownedInOrder[at] = true;
    filled = true;
  }
  if (filled) {
    values_.assign(inOrder.rbegin(), inOrder.rend());
    owned_.assign(ownedInOrder.rbegin(), ownedInOrder.rend());
  }
}

ArgumentsByValue::~ArgumentsByValue() {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    if (owned_[i]) {
      VariantClear(&values_[i]);
    }
  }
}

}  // namespace qlxw::com
