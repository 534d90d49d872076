#pragma once
// The lines of a profile (INI) file as the Windows private-profile functions see them, so that hosts
// editing the same files with them see the same thing. Pure functions on the file's characters: bytes
// of the 8-bit code page, or UTF-16 code units for a file that starts with a UTF-16 byte-order mark.
//
// - A line ends at CR LF, CR or LF; the last line may have no end.
// - A line whose first non-blank character is "[" opens a section; the name runs to the first "]" (or
//   to the end of the line) and is trimmed. Only the first of sections with the same name counts.
// - A line whose first non-blank character is ";" is a comment.
// - Another line with "=" holds a key: the trimmed text before the first "=" is its name, the trimmed
//   text after it its value. Only the first of keys with the same name counts.
// - Lines before the first section belong to no section and are kept as they are.
// Blanks are space, tab and vertical tab.
#include <cstddef>
#include <cstring>
#include <string_view>

#include "text/trim.h"

namespace qlxw::profile {

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

}  // namespace qlxw::profile
