#pragma once
// Numbers as automation hosts write them in text: up to 15 significant digits, no trailing zeros.
#include <cstdint>
#include <string>
#include <string_view>

namespace qlxw {

std::string NumberToText(double value);

// The automation conversion of a text to a 32-bit integer: blanks around it, a sign, a decimal or
// exponent form rounded half to even, or the &H and &O forms. False when the text is none of these or
// out of range; `value` is then untouched.
bool TryTextToLong(std::string_view text, std::int32_t& value);

}  // namespace qlxw
