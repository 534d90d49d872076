#pragma once
// Text to Boolean by the rules of the automation conversion (what a script's CBool accepts), for
// systems that do not have that conversion: the words True and False, and numbers written as hosts
// write them, zero being False.
#include <optional>
#include <string>
#include <string_view>

namespace qlxw {

// The symbols of the user's number format the conversion honours; an empty one is not accepted.
struct NumberSymbols {
  std::string decimal = ".";
  std::string thousands = ",";
  std::string currency = "$";
};

// True or False, or none when the text is not a Boolean:
// - "True"/"False" in any letter case, or "#TRUE#"/"#FALSE#", exactly (no blanks around);
// - a number, zero being False: blanks around it; a sign, the currency symbol and parentheses before
//   or after it; digits with thousands separators, the decimal separator and an exponent (E); or &H
//   (hexadecimal) and &O (octal) digits that fit 31 bits. A number too large for a double is none.
std::optional<bool> AutomationTextToBoolean(std::string_view text, const NumberSymbols& symbols);

}  // namespace qlxw
