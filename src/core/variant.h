#pragma once
// A value of mixed type, as automation passes it: empty, Boolean, 32-bit integer, double, text or a
// host's object.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "platform/automation.h"

namespace qlxw {

using Variant = platform::AutomationValue;

inline bool IsEmpty(const Variant& value) {
  return std::holds_alternative<std::monostate>(value);
}

}  // namespace qlxw
