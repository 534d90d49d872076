#pragma once
// How the profile engine compares section and key names, in any letter case, in the file's own
// encoding: byte by byte through a table of the 8-bit code page, by character in UTF-8, or by UTF-16
// code unit.
#include <array>
#include <cstddef>
#include <string_view>

#include "profile/profile_section_search.h"
#include "text/case_fold.h"

namespace qlxw::profile {

// Small letter for capital, byte by byte, in the 8-bit code page.
using AnsiFoldTable = std::array<unsigned char, 256>;
const AnsiFoldTable& AnsiFold();

struct AnsiNameEquals {
  const AnsiFoldTable& fold = AnsiFold();
  bool operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) {
      return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (fold[static_cast<unsigned char>(a[i])] != fold[static_cast<unsigned char>(b[i])]) {
        return false;
      }
    }
    return true;
  }
};

// UTF-8 names, in any letter case of the family's languages.
struct Utf8NameEquals {
  bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
};

struct Utf16NameEquals {
  bool operator()(std::u16string_view a, std::u16string_view b) const {
    if (a.size() != b.size()) {
      return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i])) {
        return false;
      }
    }
    return true;
  }
};

// The piece of a section name (in the 8-bit code page) that the search by anchor looks for: the
// longest run of bytes that no other byte matches in any letter case; none when shorter than two
// bytes, which would be found too often to help.
NameAnchor AnsiAnchorOf(std::string_view section);

}  // namespace qlxw::profile
