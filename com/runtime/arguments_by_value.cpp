#include "com/runtime/arguments_by_value.h"

#include <oleauto.h>

#include <algorithm>

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

}  // namespace

ArgumentsByValue::ArgumentsByValue(DISPPARAMS* params, const DispatchMembers* members, DISPID id, WORD flags)
    : params_(params) {
  if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr)) {
    return;
  }
  const std::vector<OptionalScalar>* optional =
      members != nullptr && params->cNamedArgs == 0 ? members->OptionalScalarsOf(id, flags) : nullptr;
  const VARIANT* const first = params->rgvarg;
  const VARIANT* const last = params->rgvarg + params->cArgs;
  const bool byReference = std::any_of(first, last, PlainValueByReference);
  const bool mayLeaveOut = optional != nullptr && !optional->empty();
  if (!byReference && !mayLeaveOut) {
    return;
  }
  values_.assign(first, last);  // shallow: the caller's values
  owned_.assign(params->cArgs, false);
  if (mayLeaveOut) {
    FillInDefaults(*optional);
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

void ArgumentsByValue::FillInDefaults(const std::vector<OptionalScalar>& optional) {
  // Arguments come last first: the first parameter's is at the end.
  std::vector<VARIANT> inOrder(values_.rbegin(), values_.rend());
  std::vector<bool> ownedInOrder(owned_.rbegin(), owned_.rend());
  bool filled = false;
  for (const OptionalScalar& parameter : optional) {
    const std::size_t at = parameter.position;
    if (at < inOrder.size() && !LeftOut(inOrder[at])) {
      continue;
    }
    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantCopy(&value, parameter.value.source()))) {
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
