#pragma once
// Finding a section's header in the text of a profile file: by its "[" (any text), or, for 8-bit text,
// by a piece of the name that only one byte value matches in any letter case, which skips most of a
// file of many sections. Both give the first header naming the section, as only that one counts.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

#include "profile/profile_byte_search.h"
#include "profile/profile_lines.h"

namespace qlxw::profile {

// Where a section's header is.
struct HeaderPlace {
  std::size_t lineStart = 0;  // the start of the header's line
  std::size_t nameEnd = 0;    // its "]", or its line end when it has none

  bool operator==(const HeaderPlace&) const = default;
};

// The next section header at or after `from`: `from` moves to just after its "[", `lineStart` to the
// start of its line. Headers are found by their "[", which is rare in other lines, so most of the text
// is skipped by memchr.
template <class Char>
bool NextHeader(std::basic_string_view<Char> text, std::size_t& from, std::size_t& lineStart) {
  for (;;) {
    const std::size_t open = Find(text, Char('['), from, text.size());
    if (open == text.size()) {
      return false;
    }
    lineStart = BlanksBefore(text, open);
    from = open + 1;
    if (IsLineStart(text, lineStart)) {
      return true;
    }
  }
}

// The name of the header whose "[" ends just before `from`; `from` moves past it.
template <class Char>
std::basic_string_view<Char> HeaderName(std::basic_string_view<Char> text, std::size_t& from) {
  std::size_t close = from;
  while (close < text.size() && text[close] != Char(']') && text[close] != Char('\r') &&
         text[close] != Char('\n')) {
    ++close;
  }
  const std::basic_string_view<Char> name = TrimBlanks(text.substr(from, close - from));
  from = close;
  return name;
}

// Whether the header starting at `from` names `section`. The common case, a name that starts right
// after "[", is decided by comparing in place, without reading the whole name first.
template <class Char, class NameEquals>
bool HeaderNames(std::basic_string_view<Char> text, std::size_t& from, std::basic_string_view<Char> section,
                 const NameEquals& equals) {
  const std::size_t end = from + section.size();
  if (!section.empty() && from < text.size() && !IsBlank(text[from])) {
    if (end > text.size()) {
      return false;
    }
    if (end < text.size()) {
      const Char next = text[end];
      const bool nameMayEnd = next == Char(']') || IsBlank(next) || next == Char('\r') || next == Char('\n');
      if (!nameMayEnd) {
        return false;
      }
    }
    // The name must fit on the header's line; looking only that far keeps a long name from costing
    // more than the line, whatever the file.
    for (std::size_t at = from; at < end; ++at) {
      if (text[at] == Char('\r') || text[at] == Char('\n')) {
        return false;
      }
    }
    // Names in a file often share a beginning ("Section1", "Section2"): the last letter tells most apart.
    if (!equals(text.substr(end - 1, 1), section.substr(section.size() - 1)) ||
        !equals(text.substr(from, section.size()), section)) {
      return false;
    }
  }
  return equals(HeaderName(text, from), section);
}

// The first header naming `section` (trimmed of spaces), found by the "[" of every header.
template <class Char, class NameEquals>
std::optional<HeaderPlace> FindHeader(std::basic_string_view<Char> text, std::basic_string_view<Char> section,
                                      const NameEquals& equals) {
  std::size_t from = 0;
  std::size_t lineStart = 0;
  while (NextHeader(text, from, lineStart)) {
    if (HeaderNames(text, from, section, equals)) {
      return HeaderPlace{lineStart, from};
    }
  }
  return std::nullopt;
}

// A piece of a section name that one byte value each matches, in any letter case (digits, say).
// Every header naming the section holds the piece where the name holds it, so a file of many sections
// is searched for the piece rather than for every "[".
struct NameAnchor {
  std::size_t offset = 0;  // in the name, trimmed of spaces
  std::size_t length = 0;  // 0 when the name has no such piece
};

// The longest run of characters `inAnchor` accepts in the name trimmed of spaces; a caller decides
// whether it is long enough to search by.
template <class InAnchor>
NameAnchor LongestRun(std::string_view section, const InAnchor& inAnchor) {
  const std::size_t first = section.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  section = section.substr(first, section.find_last_not_of(' ') - first + 1);
  NameAnchor best;
  for (std::size_t at = 0; at < section.size();) {
    std::size_t end = at;
    while (end < section.size() && inAnchor(section[end])) {
      ++end;
    }
    if (end - at > best.length) {
      best = {at, end - at};
    }
    at = end + 1;
  }
  return best;
}

// The header holding a name at [nameStart, nameStart + length), when the name is that header's name
// by the header rules.
// Whether what comes before `nameStart` opens a header: blanks, the "[", blanks, the start of the line.
// `lineStart` becomes where that line starts.
inline bool OpensHeader(std::string_view text, std::size_t nameStart, std::size_t& lineStart) {
  const std::size_t open = BlanksBefore(text, nameStart);
  if (open == 0 || text[open - 1] != '[') {
    return false;
  }
  lineStart = BlanksBefore(text, open - 1);
  return IsLineStart(text, lineStart);
}

inline std::optional<HeaderPlace> HeaderAround(std::string_view text, std::size_t nameStart,
                                               std::size_t length) {
  std::size_t lineStart = 0;
  if (!OpensHeader(text, nameStart, lineStart)) {
    return std::nullopt;
  }
  // After it: blanks, then the first "]" or the end of the line.
  std::size_t end = nameStart + length;
  while (end < text.size() && IsBlank(text[end])) {
    ++end;
  }
  if (end < text.size() && text[end] != ']' && text[end] != '\r' && text[end] != '\n') {
    return std::nullopt;
  }
  return HeaderPlace{lineStart, end};
}

// FindHeader for 8-bit text, searching by the name's anchor; the same answer in every case.
template <class NameEquals>
std::optional<HeaderPlace> FindHeaderByAnchor(std::string_view text, std::string_view section,
                                              NameAnchor anchor, const NameEquals& equals) {
  const bool plainName = !section.empty() && !IsBlank(section.front()) && !IsBlank(section.back()) &&
                         section.find_first_of("]\r\n") == std::string_view::npos;
  if (!plainName || anchor.length == 0 || anchor.offset + anchor.length > section.size()) {
    return FindHeader(text, section, equals);
  }
  // A short piece is as rare as a long one in a real file, and keeps the byte search linear.
  constexpr std::size_t kLongestPiece = 16;
  const std::string_view piece = section.substr(anchor.offset, std::min(anchor.length, kLongestPiece));
  // Each hit is tested by what is cheapest first: the name's first character, then the start of a
  // header before it (no two hits share its blanks), then the name, compared no further than the end
  // of the header's line, as the name holds no line end.
  for (std::size_t from = anchor.offset;;) {
    const std::size_t hit = FindBytes(text.data(), text.size(), from, piece.data(), piece.size());
    if (hit == text.size()) {
      return std::nullopt;
    }
    from = hit + 1;
    const std::size_t nameStart = hit - anchor.offset;
    if (nameStart + section.size() > text.size() ||
        !equals(text.substr(nameStart, 1), section.substr(0, 1))) {
      continue;
    }
    std::size_t lineStart = 0;
    if (!OpensHeader(text, nameStart, lineStart) ||
        !equals(text.substr(nameStart, section.size()), section)) {
      continue;
    }
    if (const auto place = HeaderAround(text, nameStart, section.size())) {
      return place;
    }
  }
}

}  // namespace qlxw::profile
