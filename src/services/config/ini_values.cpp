#include "config/ini_values.h"

#include <optional>

#include "os/text_to_boolean.h"
#include "text/case_fold.h"

namespace qlxw {

std::int32_t InStrNotQuoted(std::int32_t start, std::string_view text, std::string_view find,
                            std::int32_t compare) {
  if (start < 1 || find.empty() || find.size() > text.size()) {
    return 0;
  }
  // One pass: a match counts when the quotes before it (from the beginning of the text) are even.
  bool quoted = false;
  for (std::size_t pos = 0; pos + find.size() <= text.size(); ++pos) {
    if (pos + 1 >= static_cast<std::size_t>(start)) {
      const std::string_view candidate = text.substr(pos, find.size());
      const bool matches = compare == 1 ? EqualsNoCase(candidate, find) : candidate == find;
      if (matches && !quoted) {
        return static_cast<std::int32_t>(pos + 1);
      }
    }
    if (text[pos] == '"') {
      quoted = !quoted;
    }
  }
  return 0;
}

namespace {

std::string CutAt(std::string text, std::string_view mark) {
  const std::int32_t position = InStrNotQuoted(1, text, mark, 1);
  if (position > 0) {
    text.resize(static_cast<std::size_t>(position - 1));
  }
  return text;
}

}  // namespace

std::string CutCommentAndTab(std::string_view text) {
  return CutAt(CutAt(std::string(text), ";"), "\t");
}

std::string CutComment(std::string_view text) {
  return CutAt(std::string(text), ";");
}

std::string BoolToINIText(bool value) {
  return value ? "true" : "false";
}

bool StartsWithINIWord(std::string_view text, bool trimLeading, std::string_view word) {
  if (text.size() < word.size()) {
    return false;
  }
  if (text.size() == word.size()) {
    return EqualsNoCase(text, word);
  }
  if (trimLeading) {
    const std::size_t first = text.find_first_not_of(' ');
    text = first == std::string_view::npos ? std::string_view() : text.substr(first);
  }
  if (text.size() < word.size() || !EqualsNoCase(text.substr(0, word.size()), word)) {
    return false;
  }
  if (text.size() == word.size()) {
    return true;
  }
  const char next = text[word.size()];
  return next == ' ' || next == '\t' || next == ';';
}

bool TryTextToBoolean(std::string_view text, bool& value) {
  const std::optional<bool> converted = platform::SystemTextToBoolean(text);
  if (converted) {
    value = *converted;
  }
  return converted.has_value();
}

bool TextToBooleanOr(std::string_view text, bool fallback) {
  bool value = fallback;
  return TryTextToBoolean(text, value) ? value : fallback;
}

bool ParseINIBoolean(std::string_view text, bool& value) {
  if (text.empty()) {
    return false;
  }
  switch (text.front()) {
    case 't':
      value = StartsWithINIWord(text, false, "true");
      return true;
    case 'f':
      value = !StartsWithINIWord(text, false, "false");
      return true;
    case 'T':
      value = StartsWithINIWord(text, false, "True");
      return true;
    case 'F':
      value = !StartsWithINIWord(text, false, "False");
      return true;
    default:
      break;
  }
  if (StartsWithINIWord(text, true, "true")) {
    value = true;
    return true;
  }
  if (StartsWithINIWord(text, true, "false")) {
    value = false;
    return true;
  }
  return TryTextToBoolean(text, value);
}

bool IsNullValue(std::string_view text) {
  text = TrimSpaces(text);
  return text.empty() || EqualsNoCase(text, "null");
}

}  // namespace qlxw
