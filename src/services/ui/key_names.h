#pragma once
// Key codes as people read them: "F1", "Ctrl+Z", "Num +", "í", "VK 0x5D".
#include <cstdint>
#include <string>

namespace qlxw {

// A letter or digit as itself, F1 to F24, the arrows, Esc, Space, Enter, Tab, the keypad's + and -,
// Ctrl+ and the name of the code less 2000 from 2000 on, a character of the 8-bit code page's upper
// half as that character; anything else as "VK 0x" and its hexadecimal code.
std::string KeyName(std::int16_t keyCode);

}  // namespace qlxw
