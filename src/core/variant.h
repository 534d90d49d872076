#pragma once
// A value of mixed type, as automation passes it: empty, Boolean, 32-bit integer, double or text.
#include <cstdint>
#include <string>
#include <variant>

namespace qlxw {

using Variant = std::variant<std::monostate, bool, std::int32_t, double, std::string>;

inline bool IsEmpty(const Variant& value) {
  return std::holds_alternative<std::monostate>(value);
}

}  // namespace qlxw
