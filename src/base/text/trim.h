#pragma once
// Cutting blanks from both ends of a text, with the two ideas of blank the library has: the automation
// Trim (and the names callers give the profile functions) cuts spaces only; the lines of a profile file
// also lose tabs and vertical tabs around names and values, as Windows' profile functions do.
#include <cstddef>
#include <string_view>

namespace qlxw {

template <class Char, class IsBlank>
constexpr std::basic_string_view<Char> TrimWhere(std::basic_string_view<Char> text, IsBlank isBlank) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && isBlank(text[first])) {
    ++first;
  }
  while (last > first && isBlank(text[last - 1])) {
    --last;
  }
  return text.substr(first, last - first);
}

template <class Char>
constexpr std::basic_string_view<Char> TrimSpaces(std::basic_string_view<Char> text) {
  return TrimWhere(text, [](Char c) { return c == Char(' '); });
}

constexpr std::string_view TrimSpaces(std::string_view text) {
  return TrimSpaces<char>(text);
}

// Space, tab or vertical tab.
template <class Char>
constexpr bool IsBlank(Char c) {
  return c == Char(' ') || c == Char('\t') || c == Char('\v');
}

template <class Char>
constexpr std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text) {
  return TrimWhere(text, IsBlank<Char>);
}

}  // namespace qlxw
