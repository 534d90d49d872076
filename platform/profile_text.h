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
#include <optional>
#include <string>
#include <string_view>

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

  explicit LineScanner(View text) : text_(text), nextCr_(Find(Char('\r'), 0)), nextLf_(Find(Char('\n'), 0)) {}

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
  // The next CR or LF at or after `from`. The positions of both are remembered, so that a file with
  // LF line ends is searched for CR once, not once a line.
  std::size_t FindLineEnd(std::size_t from) {
    if (nextCr_ < from) {
      nextCr_ = Find(Char('\r'), from);
    }
    if (nextLf_ < from) {
      nextLf_ = Find(Char('\n'), from);
    }
    return nextCr_ < nextLf_ ? nextCr_ : nextLf_;
  }

  std::size_t Find(Char wanted, std::size_t from) const {
    if constexpr (sizeof(Char) == 1) {
      const void* found =
          std::memchr(text_.data() + from, static_cast<unsigned char>(wanted), text_.size() - from);
      return found == nullptr ? text_.size()
                              : static_cast<std::size_t>(static_cast<const Char*>(found) - text_.data());
    } else {
      const std::size_t found = text_.find(wanted, from);
      return found == View::npos ? text_.size() : found;
    }
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
  std::size_t pos_ = 0;
  std::size_t nextCr_;  // text_.size() when there is none
  std::size_t nextLf_;
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

// The value of the key in the section, unquoted; empty when the section or the key is missing.
template <class Char, class NameEquals>
std::optional<std::basic_string_view<Char>> FindValue(std::basic_string_view<Char> text,
                                                      std::basic_string_view<Char> section,
                                                      std::basic_string_view<Char> key,
                                                      const NameEquals& equals) {
  section = TrimSpaces(section);
  key = TrimSpaces(key);
  LineScanner<Char> scanner(text);
  Line<Char> line;
  bool inSection = false;
  while (scanner.Next(line)) {
    if (line.kind == LineKind::kHeader) {
      if (inSection) {
        return std::nullopt;
      }
      inSection = equals(line.name, section);
    } else if (inSection && line.kind == LineKind::kKey && equals(line.name, key)) {
      return Unquote(line.value);
    }
  }
  return std::nullopt;
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
  LineScanner<Char> scanner(text);
  Line<Char> line;
  while (scanner.Next(line)) {
    if (line.kind == LineKind::kHeader) {
      if (scan.header) {
        break;
      }
      if (equals(line.name, section)) {
        scan.header = line;
      }
    } else if (scan.header && line.kind == LineKind::kKey) {
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
std::basic_string<Char> WithoutSection(std::basic_string_view<Char> text, const Line<Char>& header) {
  std::basic_string<Char> kept(text.substr(0, header.begin));
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
  return kept;
}

// The line end of a line, or CR LF for a last line that has none.
template <class Char>
std::basic_string<Char> LineEndOf(std::basic_string_view<Char> text, const Line<Char>& line) {
  if (line.HasEnd()) {
    return std::basic_string<Char>(text.substr(line.end, line.next - line.end));
  }
  return {Char('\r'), Char('\n')};
}

// The text after a write: a value for the key, no value to delete the key, no key to delete the
// section. Empty when the text stays as it is. Names are written without surrounding spaces.
template <class Char, class NameEquals>
std::optional<std::basic_string<Char>> Edit(std::basic_string_view<Char> text,
                                            std::basic_string_view<Char> section,
                                            std::optional<std::basic_string_view<Char>> key,
                                            std::optional<std::basic_string_view<Char>> value,
                                            const NameEquals& equals) {
  using String = std::basic_string<Char>;
  section = TrimSpaces(section);
  if (key) {
    key = TrimSpaces(*key);
  }
  const SectionScan<Char> scan = ScanSection(text, section, key, equals);
  if (!key) {
    return scan.header ? std::optional<String>(WithoutSection(text, *scan.header)) : std::nullopt;
  }
  if (!value) {
    if (!scan.keyLine) {
      return std::nullopt;
    }
    return String(text.substr(0, scan.keyLine->begin)).append(text.substr(scan.keyLine->next));
  }
  if (scan.keyLine) {
    // The key keeps its spelling and everything up to "="; the line keeps its line end.
    return String(text.substr(0, scan.keyLine->equals + 1))
        .append(*value)
        .append(LineEndOf(text, *scan.keyLine))
        .append(text.substr(scan.keyLine->next));
  }
  const String crlf{Char('\r'), Char('\n')};
  String newLine = String(*key).append(1, Char('=')).append(*value);
  if (scan.header) {
    const Line<Char>& anchor = scan.lastKey ? *scan.lastKey : *scan.header;
    String edited(text.substr(0, anchor.next));
    if (!anchor.HasEnd()) {
      edited.append(crlf);
    }
    return edited.append(newLine).append(LineEndOf(text, anchor)).append(text.substr(anchor.next));
  }
  String edited(text);
  if (!edited.empty() && edited.back() != Char('\n') && edited.back() != Char('\r')) {
    edited.append(crlf);
  }
  return edited.append(1, Char('['))
      .append(section)
      .append(1, Char(']'))
      .append(crlf)
      .append(newLine)
      .append(crlf);
}

}  // namespace qlxw::platform::profile
