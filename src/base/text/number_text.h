#pragma once
// Numbers as automation hosts write them in text: up to 15 significant digits, no trailing zeros.
#include <string>

namespace qlxw {

std::string NumberToText(double value);

}  // namespace qlxw
