#pragma once
// The text of a profile (INI) file, read and edited the way the Windows private-profile functions do,
// so that hosts editing the same files with them see the same thing. Pure functions on the file's
// characters: bytes of the 8-bit code page, or UTF-16 code units for a file that starts with a UTF-16
// byte-order mark. Names are compared by the matcher the caller passes.
//
// - A line ends at CR LF, CR or LF; the last line may have no end.
// - A line whose first non-blank character is "[" opens a section; the name runs to the first "]" (or
//   to the end of the line) and is trimmed. Only the first of sections with the same name counts.
// - A line whose first non-blank character is ";" is a comment.
// - Another line with "=" holds a key: the trimmed text before the first "=" is its name, the trimmed
//   text after it its value. Only the first of keys with the same name counts.
// - Lines before the first section belong to no section and are kept as they are.
// Blanks are space, tab and vertical tab.
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "config/profile_scan.h"

namespace qlxw::platform::profile {

template <class Char>
constexpr bool IsBlank(Char c) {
  return c == Char(' ') || c == Char('\t') || c == Char('\v');
}

template <class Char>
std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlank(text[first])) {
    ++first;
  }
  while (last > first && IsBlank(text[last - 1])) {
    --last;
  }
  return text.substr(first, last - first);
}

// Callers' names are trimmed of spaces only.
template <class Char>
std::basic_string_view<Char> TrimSpaces(std::basic_string_view<Char> text) {
  const std::size_t first = text.find_first_not_of(Char(' '));
  if (first == std::basic_string_view<Char>::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(Char(' ')) - first + 1);
}

// The first `wanted` in [from, to), or `to` when there is none.
template <class Char>
std::size_t Find(std::basic_string_view<Char> text, Char wanted, std::size_t from, std::size_t to) {
  if (from >= to) {
    return to;
  }
  if constexpr (sizeof(Char) == 1) {
    const void* found = std::memchr(text.data() + from, static_cast<unsigned char>(wanted), to - from);
    return found == nullptr ? to : static_cast<std::size_t>(static_cast<const Char*>(found) - text.data());
  } else {
    for (std::size_t i = from; i < to; ++i) {
      if (text[i] == wanted) {
        return i;
      }
    }
    return to;
  }
}

enum class LineKind { kBlank, kHeader, kComment, kKey, kOther };

template <class Char>
struct Line {
  std::size_t begin = 0;  // first character
  std::size_t end = 0;    // one past the last character before the line end
  std::size_t next = 0;   // first character of the next line
  LineKind kind = LineKind::kBlank;
  std::basic_string_view<Char> name;   // section or key name, trimmed
  std::basic_string_view<Char> value;  // key value, trimmed
  std::size_t equals = 0;              // position of the "=" of a key line

  bool HasEnd() const { return next > end; }
};

// Walks the lines of a text, classifying each.
template <class Char>
class LineScanner {
 public:
  using View = std::basic_string_view<Char>;

  explicit LineScanner(View text, std::size_t start = 0) : text_(text), pos_(start) {}

  bool Next(Line<Char>& line) {
    if (pos_ >= text_.size()) {
      return false;
    }
    line.begin = pos_;
    line.end = FindLineEnd(pos_);
    line.next = line.end;
    if (line.next < text_.size()) {
      const bool crlf = text_[line.next] == Char('\r') && line.next + 1 < text_.size() &&
                        text_[line.next + 1] == Char('\n');
      line.next += crlf ? std::size_t{2} : std::size_t{1};
    }
    pos_ = line.next;
    Classify(line);
    return true;
  }

 private:
  // The next CR or LF at or after `from`. The next LF is remembered, so a file with few LFs is not
  // searched again for every line; the CR search stops at that LF, so it costs about a line.
  std::size_t FindLineEnd(std::size_t from) {
    if (!lfKnown_ || nextLf_ < from) {
      nextLf_ = Find(text_, Char('\n'), from, text_.size());
      lfKnown_ = true;
    }
    return Find(text_, Char('\r'), from, nextLf_);
  }

  void Classify(Line<Char>& line) const {
    const View body = text_.substr(line.begin, line.end - line.begin);
    std::size_t first = 0;
    while (first < body.size() && IsBlank(body[first])) {
      ++first;
    }
    line.name = {};
    line.value = {};
    if (first == body.size()) {
      line.kind = LineKind::kBlank;
      return;
    }
    if (body[first] == Char('[')) {
      line.kind = LineKind::kHeader;
      const std::size_t close = body.find(Char(']'), first + 1);
      line.name = TrimBlanks(body.substr(first + 1, (close == View::npos ? body.size() : close) - first - 1));
      return;
    }
    if (body[first] == Char(';')) {
      line.kind = LineKind::kComment;
      return;
    }
    const std::size_t equals = body.find(Char('='), first);
    if (equals == View::npos) {
      line.kind = LineKind::kOther;
      return;
    }
    line.kind = LineKind::kKey;
    line.equals = line.begin + equals;
    line.name = TrimBlanks(body.substr(first, equals - first));
    line.value = TrimBlanks(body.substr(equals + 1));
  }

  View text_;
  std::size_t pos_;
  std::size_t nextLf_ = 0;  // text_.size() when there is none
  bool lfKnown_ = false;
};

// One pair of enclosing double or single quotes is removed from a value.
template <class Char>
std::basic_string_view<Char> Unquote(std::basic_string_view<Char> value) {
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == Char('"') || value.front() == Char('\''))) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where the blanks that end just before `at` begin.
template <class Char>
std::size_t BlanksBefore(std::basic_string_view<Char> text, std::size_t at) {
  while (at > 0 && IsBlank(text[at - 1])) {
    --at;
  }
  return at;
}

template <class Char>
bool IsLineStart(std::basic_string_view<Char> text, std::size_t at) {
  return at == 0 || text[at - 1] == Char('\r') || text[at - 1] == Char('\n');
}

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
    // Names in a file often share a beginning ("Section1", "Section2"): the last letter tells most apart.
    if (!equals(text.substr(end - 1, 1), section.substr(section.size() - 1)) ||
        !equals(text.substr(from, section.size()), section)) {
      return false;
    }
  }
  return equals(HeaderName(text, from), section);
}

// The start of the line after the one `at` is on.
template <class Char>
std::size_t NextLineStart(std::basic_string_view<Char> text, std::size_t at) {
  while (at < text.size() && text[at] != Char('\r') && text[at] != Char('\n')) {
    ++at;
  }
  if (at < text.size()) {
    const bool crlf = text[at] == Char('\r') && at + 1 < text.size() && text[at + 1] == Char('\n');
    at += crlf ? std::size_t{2} : std::size_t{1};
  }
  return at;
}

// The value of the key in the section whose header ends at `from` (its "]" or its line end), unquoted.
template <class Char, class NameEquals>
std::optional<std::basic_string_view<Char>> ValueInSection(std::basic_string_view<Char> text,
                                                           std::size_t from, std::basic_string_view<Char> key,
                                                           const NameEquals& equals) {
  const std::basic_string_view<Char> body = text.substr(NextLineStart(text, from));
  LineScanner<Char> scanner(body);
  Line<Char> line;
  while (scanner.Next(line) && line.kind != LineKind::kHeader) {
    if (line.kind == LineKind::kKey && equals(line.name, key)) {
      return Unquote(line.value);
    }
  }
  return std::nullopt;
}

// The value of the key in the section, unquoted; empty when the section or the key is missing.
template <class Char, class NameEquals>
std::optional<std::basic_string_view<Char>> FindValue(std::basic_string_view<Char> text,
                                                      std::basic_string_view<Char> section,
                                                      std::basic_string_view<Char> key,
                                                      const NameEquals& equals) {
  section = TrimSpaces(section);
  key = TrimSpaces(key);
  std::size_t from = 0;
  std::size_t lineStart = 0;
  while (NextHeader(text, from, lineStart)) {
    if (HeaderNames(text, from, section, equals)) {
      return ValueInSection(text, from, key, equals);  // only the first section of that name counts
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

// Where the header holding a name at [nameStart, nameStart + length) ends (its "]" or its line end),
// when the name is that header's name by the header rules; npos otherwise.
inline std::size_t HeaderAround(std::string_view text, std::size_t nameStart, std::size_t length) {
  // Before the name: blanks, the "[", blanks, the start of the line.
  const std::size_t open = BlanksBefore(text, nameStart);
  if (open == 0 || text[open - 1] != '[' || !IsLineStart(text, BlanksBefore(text, open - 1))) {
    return std::string_view::npos;
  }
  // After it: blanks, then the first "]" or the end of the line.
  std::size_t end = nameStart + length;
  while (end < text.size() && IsBlank(text[end])) {
    ++end;
  }
  if (end < text.size() && text[end] != ']' && text[end] != '\r' && text[end] != '\n') {
    return std::string_view::npos;
  }
  return end;
}

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

// FindValue for 8-bit text, searching by the name's anchor; the same answer in every case.
template <class NameEquals>
std::optional<std::string_view> FindValueByAnchor(std::string_view text, std::string_view section,
                                                  std::string_view key, NameAnchor anchor,
                                                  const NameEquals& equals) {
  section = TrimSpaces(section);
  const bool plainName = !section.empty() && !IsBlank(section.front()) && !IsBlank(section.back()) &&
                         section.find_first_of("]\r\n") == std::string_view::npos;
  if (!plainName || anchor.length == 0 || anchor.offset + anchor.length > section.size()) {
    return FindValue(text, section, key, equals);
  }
  key = TrimSpaces(key);
  const std::string_view piece = section.substr(anchor.offset, anchor.length);
  for (std::size_t from = anchor.offset;;) {
    const std::size_t hit = FindBytes(text.data(), text.size(), from, piece.data(), piece.size());
    if (hit == text.size()) {
      return std::nullopt;
    }
    from = hit + 1;
    const std::size_t nameStart = hit - anchor.offset;
    if (nameStart + section.size() > text.size() ||
        !equals(text.substr(nameStart, section.size()), section)) {
      continue;
    }
    const std::size_t end = HeaderAround(text, nameStart, section.size());
    if (end == std::string_view::npos) {
      continue;
    }
    return ValueInSection(text, end, key, equals);
  }
}

// Where a write lands: the first header of the section, the first line of the key there, and the last
// key line of the section.
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
  std::size_t from = 0;
  std::size_t lineStart = 0;
  while (NextHeader(text, from, lineStart)) {
    if (!HeaderNames(text, from, section, equals)) {
      continue;
    }
    LineScanner<Char> scanner(text, lineStart);
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
    break;  // only the first section of that name counts
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

}  // namespace qlxw::platform::profile
