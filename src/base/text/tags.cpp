#include "text/tags.h"

#include "text/utf8.h"

namespace qlxw {
namespace {

struct TagSpan {
  std::size_t open = std::string_view::npos;   // byte offset of "<"
  std::size_t close = std::string_view::npos;  // byte offset of ">"
  bool Found() const { return close != std::string_view::npos; }
};

TagSpan LocateTag(std::string_view text) {
  TagSpan span;
  span.open = text.find('<');
  if (span.open != std::string_view::npos) {
    span.close = text.find('>', span.open + 1);
  }
  return span;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool IsTag(std::string_view text, std::string* inner) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.size() < 2 || trimmed.front() != '<' || trimmed.back() != '>') {
    return false;
  }
  if (inner != nullptr) {
    inner->assign(trimmed.substr(1, trimmed.size() - 2));
  }
  return true;
}

std::int32_t FindTag(std::string_view text, std::string& tag) {
  const TagSpan span = LocateTag(text);
  if (!span.Found()) {
    tag.clear();
    return 0;
  }
  tag.assign(text.substr(span.open, span.close - span.open + 1));
  return static_cast<std::int32_t>(Utf16Length(text.substr(0, span.open)) + 1);
}

std::string SplitAtTag(std::string_view text, std::string& before, std::string& tag) {
  const TagSpan span = LocateTag(text);
  if (!span.Found()) {
    before.assign(text);
    tag.clear();
    return {};
  }
  before.assign(text.substr(0, span.open));
  tag.assign(text.substr(span.open, span.close - span.open + 1));
  return std::string(text.substr(span.close + 1));
}

std::vector<std::string> SplitTags(std::string_view text) {
  std::vector<std::string> items;
  std::string rest(text);
  do {
    std::string before;
    std::string tag;
    rest = SplitAtTag(rest, before, tag);
    items.push_back(std::move(before));
    if (!tag.empty()) {
      items.push_back(std::move(tag));
    }
  } while (!rest.empty());
  return items;
}

}  // namespace qlxw
