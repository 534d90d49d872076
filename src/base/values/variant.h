#pragma once
// A value of mixed type, as automation passes it: empty, Boolean, 32-bit integer, double, text or a
// host's object.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "values/automation.h"

namespace qlxw {

using Variant = AutomationValue;

inline bool IsEmpty(const Variant& value) {
  return std::holds_alternative<std::monostate>(value);
}

}  // namespace qlxw
