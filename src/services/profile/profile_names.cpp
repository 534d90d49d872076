#include "profile/profile_names.h"

#include <string>

#include "os/codepage.h"
#include "text/utf8.h"

namespace qlxw::profile {
namespace {

// Bytes that no other byte matches in any letter case (digits, most punctuation), and no blank.
const std::array<bool, 256>& AnsiAnchorBytes() {
  static const std::array<bool, 256> table = [] {
    const AnsiFoldTable& fold = AnsiFold();
    std::array<int, 256> classSize{};
    for (unsigned value = 0; value < 256; ++value) {
      ++classSize[fold[value]];
    }
    std::array<bool, 256> anchors{};
    for (unsigned value = 0; value < 256; ++value) {
      const bool blank = value == ' ' || value == '\t' || value == '\v';
      anchors[value] = !blank && fold[value] == value && classSize[value] == 1;
    }
    return anchors;
  }();
  return table;
}

}  // namespace

// Built once, as the code page is fixed while a program runs.
const AnsiFoldTable& AnsiFold() {
  static const AnsiFoldTable table = [] {
    AnsiFoldTable folded{};
    for (unsigned value = 0; value < 256; ++value) {
      folded[value] = static_cast<unsigned char>(value);
      const std::string utf8 = platform::AnsiToUtf8(std::string(1, static_cast<char>(value)));
      std::size_t pos = 0;
      const char32_t cp = DecodeUtf8(utf8, pos);
      if (cp == kInvalidCodePoint || FoldCase(cp) == cp) {
        continue;
      }
      std::string small;
      AppendUtf8(small, FoldCase(cp));
      const std::string back = platform::Utf8ToAnsi(small);
      if (back.size() == 1 && platform::AnsiToUtf8(back) == small) {
        folded[value] = static_cast<unsigned char>(back[0]);
      }
    }
    return folded;
  }();
  return table;
}

NameAnchor AnsiAnchorOf(std::string_view section) {
  const auto& anchors = AnsiAnchorBytes();
  const NameAnchor longest =
      LongestRun(section, [&](char c) { return anchors[static_cast<unsigned char>(c)]; });
  return longest.length >= 2 ? longest : NameAnchor{};
}

}  // namespace qlxw::profile
