#pragma once
// Letter-case-insensitive comparison for the family's languages (Hungarian, Romanian, Serbian,
// Vietnamese, English), identical on every platform because it does not ask the system.
#include <string>
#include <string_view>

namespace qlxw {

// The small letter of a capital in Latin (with its supplements and Vietnamese letters), Greek and
// Cyrillic; any other character unchanged.
char32_t FoldCase(char32_t cp) noexcept;

// The whole text folded; bytes that are not UTF-8 stay as they are.
std::string FoldCase(std::string_view utf8);

bool EqualsNoCase(std::string_view a, std::string_view b) noexcept;

}  // namespace qlxw
