#include "com/runtime/arguments_by_value.h"

#include <oleauto.h>

#include <algorithm>
#include <optional>

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

// A plain value given by value (not a reference, array, object, or an argument left out).
bool PlainValue(const VARIANT& argument) noexcept {
  return (argument.vt & (VT_ARRAY | VT_BYREF)) == 0 && argument.vt != VT_DISPATCH &&
         argument.vt != VT_UNKNOWN && argument.vt != VT_ERROR && argument.vt != VT_EMPTY;
}

// The parameter position the argument at `index` of `arguments` (last first) stands for; named
// arguments come first and say their position; a property's new value has none.
std::optional<std::size_t> PositionOf(const DISPPARAMS& params, std::size_t index,
                                      std::size_t count) noexcept {
  if (index < params.cNamedArgs) {
    const DISPID named = params.rgdispidNamedArgs == nullptr ? -1 : params.rgdispidNamedArgs[index];
    return named >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(named)) : std::nullopt;
  }
  return count - 1 - index;
}

bool ByReference(const CallShape* shape, std::optional<std::size_t> position) noexcept {
  return shape != nullptr && position && *position < shape->scalarByReference.size() &&
         shape->scalarByReference[*position];
}

// What to pass on as our own copy in place of a caller's argument: the value behind a by-reference
// variant, or a value given for a by-reference parameter (which Invoke may write back over); none when
// the argument goes as it is.
VARIANT* ToCopy(VARIANT& argument, const CallShape* shape, std::optional<std::size_t> position) noexcept {
  if (PlainValueByReference(argument)) {
    return argument.pvarVal;
  }
  return PlainValue(argument) && ByReference(shape, position) ? &argument : nullptr;
}

}  // namespace

ArgumentsByValue::ArgumentsByValue(DISPPARAMS* params, const DispatchMembers* members, DISPID id, WORD flags)
    : params_(params) {
  if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr)) {
    return;
  }
  const CallShape* shape = members != nullptr ? members->ShapeOf(id, flags) : nullptr;
  const std::size_t count = params->cArgs;
  bool copies = false;
  for (std::size_t i = 0; i < count && !copies; ++i) {
    copies = ToCopy(params->rgvarg[i], shape, PositionOf(*params, i, count)) != nullptr;
  }
  const bool mayLeaveOut = shape != nullptr && params->cNamedArgs == 0 && !shape->optionalScalars.empty();
  if (!copies && !mayLeaveOut) {
    return;
  }
  values_.assign(params->rgvarg, params->rgvarg + count);  // shallow: the caller's values
  owned_.assign(count, false);
  if (mayLeaveOut) {
    FillInDefaults(shape->optionalScalars);
  }
  bool changed = std::find(owned_.begin(), owned_.end(), true) != owned_.end();
  for (std::size_t i = 0; i < values_.size(); ++i) {
    VARIANT* source = owned_[i] ? nullptr : ToCopy(values_[i], shape, PositionOf(*params, i, values_.size()));
    VARIANT value;
    VariantInit(&value);
    if (source != nullptr && SUCCEEDED(VariantCopy(&value, source))) {
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
