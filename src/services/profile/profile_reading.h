#pragma once
// Reading a key's value from the text of a profile file (the rules are in profile_lines.h). Names are
// compared by the matcher the caller passes.
#include <cstddef>
#include <optional>
#include <string_view>

#include "profile/profile_lines.h"
#include "profile/profile_section_search.h"

namespace qlxw::profile {

// One pair of enclosing double or single quotes is removed from a value.
template <class Char>
std::basic_string_view<Char> Unquote(std::basic_string_view<Char> value) {
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == Char('"') || value.front() == Char('\''))) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The value of the key in the section whose header's name ends at `nameEnd`, unquoted.
template <class Char, class NameEquals>
std::optional<std::basic_string_view<Char>> ValueInSection(std::basic_string_view<Char> text,
                                                           std::size_t nameEnd,
                                                           std::basic_string_view<Char> key,
                                                           const NameEquals& equals) {
  const std::basic_string_view<Char> body = text.substr(NextLineStart(text, nameEnd));
  LineScanner<Char> scanner(body);
  Line<Char> line;
  while (scanner.Next(line) && line.kind != LineKind::kHeader) {
    if (line.kind == LineKind::kKey && equals(line.name, key)) {
      return Unquote(line.value);
    }
  }
  return std::nullopt;
}

// The value of the key in the section, unquoted; empty when the section or the key is missing. The
// caller's names are trimmed of spaces.
template <class Char, class NameEquals>
std::optional<std::basic_string_view<Char>> FindValue(std::basic_string_view<Char> text,
                                                      std::basic_string_view<Char> section,
                                                      std::basic_string_view<Char> key,
                                                      const NameEquals& equals) {
  const auto header = FindHeader(text, TrimSpaces(section), equals);
  if (!header) {
    return std::nullopt;
  }
  return ValueInSection(text, header->nameEnd, TrimSpaces(key), equals);
}

// FindValue for 8-bit text, finding the section by its name's anchor; the same answer in every case.
template <class NameEquals>
std::optional<std::string_view> FindValueByAnchor(std::string_view text, std::string_view section,
                                                  std::string_view key, NameAnchor anchor,
                                                  const NameEquals& equals) {
  const auto header = FindHeaderByAnchor(text, TrimSpaces(section), anchor, equals);
  if (!header) {
    return std::nullopt;
  }
  return ValueInSection(text, header->nameEnd, TrimSpaces(key), equals);
}

}  // namespace qlxw::profile
