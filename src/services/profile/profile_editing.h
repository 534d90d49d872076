#pragma once
// Editing the text of a profile file as a write does (the rules are in profile_lines.h): every line
// the write does not concern is kept as it is. Names are compared by the matcher the caller passes.
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "profile/profile_lines.h"
#include "profile/profile_section_search.h"

namespace qlxw::profile {

// Where a write lands: the first header of the section (trimmed of spaces), the first line of the key
// there, and the last key line of the section.
template <class Char>
struct SectionScan {
  std::optional<Line<Char>> header;
  std::optional<Line<Char>> keyLine;
  std::optional<Line<Char>> lastKey;
};

template <class Char, class NameEquals>
SectionScan<Char> ScanSection(std::basic_string_view<Char> text, std::basic_string_view<Char> section,
                              std::optional<std::basic_string_view<Char>> key, const NameEquals& equals) {
  SectionScan<Char> scan;
  const auto place = FindHeader(text, section, equals);  // only the first section of that name counts
  if (!place) {
    return scan;
  }
  LineScanner<Char> scanner(text, place->lineStart);
  Line<Char> line;
  scanner.Next(line);
  scan.header = line;
  while (scanner.Next(line) && line.kind != LineKind::kHeader) {
    if (line.kind == LineKind::kKey) {
      scan.lastKey = line;
      if (key && !scan.keyLine && equals(line.name, *key)) {
        scan.keyLine = line;
      }
    }
  }
  return scan;
}

// The text without the section's header and its key lines; its comments and blank lines stay.
template <class Char>
void WithoutSection(std::basic_string_view<Char> text, const Line<Char>& header,
                    std::basic_string<Char>& kept) {
  kept.clear();
  kept.reserve(text.size());
  kept.append(text.substr(0, header.begin));
  const std::basic_string_view<Char> body = text.substr(header.next);
  LineScanner<Char> scanner(body);
  Line<Char> line;
  while (scanner.Next(line)) {
    if (line.kind == LineKind::kHeader) {
      kept.append(body.substr(line.begin));
      break;
    }
    if (line.kind == LineKind::kComment || line.kind == LineKind::kBlank) {
      kept.append(body.substr(line.begin, line.next - line.begin));
    }
  }
}

// The line end of a line, or CR LF for a last line that has none.
template <class Char>
std::basic_string<Char> LineEndOf(std::basic_string_view<Char> text, const Line<Char>& line) {
  if (line.HasEnd()) {
    return std::basic_string<Char>(text.substr(line.end, line.next - line.end));
  }
  return {Char('\r'), Char('\n')};
}

// `result` becomes the text with [cutBegin, cutEnd) replaced by the pieces. The caller's buffer is
// reused: files can be large, and fresh memory for each write costs more than the copy.
template <class Char>
bool Splice(std::basic_string_view<Char> text, std::size_t cutBegin, std::size_t cutEnd,
            std::type_identity_t<std::initializer_list<std::basic_string_view<Char>>> pieces,
            std::basic_string<Char>& result) {
  std::size_t size = text.size() - (cutEnd - cutBegin);
  for (const auto piece : pieces) {
    size += piece.size();
  }
  result.clear();
  result.reserve(size);
  result.append(text.substr(0, cutBegin));
  for (const auto piece : pieces) {
    result.append(piece);
  }
  result.append(text.substr(cutEnd));
  return true;
}

// `edited` becomes the text after a write: a value for the key, no value to delete the key, no key to
// delete the section. False (and `edited` unspecified) when the text stays as it is. Names are written
// without surrounding spaces.
template <class Char, class NameEquals>
bool Edit(std::basic_string_view<Char> text, std::basic_string_view<Char> section,
          std::optional<std::basic_string_view<Char>> key, std::optional<std::basic_string_view<Char>> value,
          const NameEquals& equals, std::basic_string<Char>& edited) {
  using String = std::basic_string<Char>;
  section = TrimSpaces(section);
  if (key) {
    key = TrimSpaces(*key);
  }
  const SectionScan<Char> scan = ScanSection(text, section, key, equals);
  if (!key) {
    if (scan.header) {
      WithoutSection(text, *scan.header, edited);
    }
    return scan.header.has_value();
  }
  if (!value) {
    return scan.keyLine && Splice(text, scan.keyLine->begin, scan.keyLine->next, {}, edited);
  }
  if (scan.keyLine) {
    // The key keeps its spelling and everything up to "="; the line keeps its line end.
    return Splice(text, scan.keyLine->equals + 1, scan.keyLine->next,
                  {*value, LineEndOf(text, *scan.keyLine)}, edited);
  }
  const String crlf{Char('\r'), Char('\n')};
  const String newLine = String(*key).append(1, Char('=')).append(*value);
  if (scan.header) {
    const Line<Char>& anchor = scan.lastKey ? *scan.lastKey : *scan.header;
    const String before = anchor.HasEnd() ? String() : crlf;
    return Splice(text, anchor.next, anchor.next, {before, newLine, LineEndOf(text, anchor)}, edited);
  }
  const bool endsOpen = !text.empty() && text.back() != Char('\n') && text.back() != Char('\r');
  const String header = String(1, Char('[')).append(section).append(1, Char(']'));
  return Splice(text, text.size(), text.size(), {endsOpen ? crlf : String(), header, crlf, newLine, crlf},
                edited);
}

}  // namespace qlxw::profile
