#include "com/arguments_by_value.h"

#include <oleauto.h>

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

}  // namespace

ArgumentsByValue::ArgumentsByValue(DISPPARAMS* params) : params_(params) {
  if (params == nullptr || params->rgvarg == nullptr) {
    return;
  }
  bool any = false;
  for (UINT i = 0; i < params->cArgs; ++i) {
    any = any || PlainValueByReference(params->rgvarg[i]);
  }
  if (!any) {
    return;
  }
  values_.assign(params->rgvarg, params->rgvarg + params->cArgs);  // shallow: the caller's values
  owned_.assign(params->cArgs, false);
  for (UINT i = 0; i < params->cArgs; ++i) {
    VARIANT value;
    VariantInit(&value);
    if (PlainValueByReference(params->rgvarg[i]) &&
        SUCCEEDED(VariantCopy(&value, params->rgvarg[i].pvarVal))) {
      values_[i] = value;
      owned_[i] = true;
    }
  }
  copy_ = *params;
  copy_.rgvarg = values_.data();
  params_ = &copy_;
}

ArgumentsByValue::~ArgumentsByValue() {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    if (owned_[i]) {
      VariantClear(&values_[i]);
    }
  }
}

}  // namespace qlxw::com
