#pragma once
// Values of mixed type between the core and COM variants.
#include <windows.h>

#include <oaidl.h>

#include "core/variant.h"

namespace qlxw::com {

// Empty, Boolean, 32-bit integer, double and text keep their type; smaller integers widen; other
// types take the text or number COM converts them to; a missing optional argument reads as empty.
Variant FromVariant(const VARIANT& value);
// Writes into a VARIANT the caller has initialised (and owns afterwards).
void ToVariant(const Variant& value, VARIANT* out);

// Whether an optional argument was left out.
bool IsMissing(const VARIANT* value) noexcept;

}  // namespace qlxw::com
