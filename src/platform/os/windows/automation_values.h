#pragma once
// Values passed to and from automation objects, as COM variants.
#include <windows.h>

#include <oaidl.h>

#include "values/automation.h"

namespace qlxw::platform {

// Empty, Boolean, 32-bit integer, double and text keep their type; smaller integers widen; other
// types take the text or number COM converts them to; a missing optional argument reads as empty.
AutomationValue FromVariant(const VARIANT& value);
// Fills a VARIANT the caller owns afterwards (whatever it held is not freed).
void ToVariant(const AutomationValue& value, VARIANT* out);

// Whether an optional argument was left out.
bool IsMissing(const VARIANT* value) noexcept;

}  // namespace qlxw::platform
