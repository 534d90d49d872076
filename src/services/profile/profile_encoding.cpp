#include "profile/profile_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "os/codepage.h"
#include "text/utf8.h"

namespace qlxw::profile {
namespace {

// Eight bytes a step: names and values are short, but every read checks three of them.
bool IsAscii(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080U;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, 8);
    if ((word & kHighBits) != 0) {
      return false;
    }
  }
  for (; at < text.size(); ++at) {
    if (static_cast<unsigned char>(text[at]) >= 0x80) {
      return false;
    }
  }
  return true;
}

bool IsAscii(std::u16string_view units) {
  return std::all_of(units.begin(), units.end(), [](char16_t unit) { return unit < 0x80; });
}

// Whether the code page holds ASCII as it is, both ways (every Windows ANSI code page does); then ASCII
// text needs no conversion. Asked once, as the code page is fixed while a program runs.
bool CodePageKeepsAscii() {
  static const bool keeps = [] {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) {
      ascii.push_back(static_cast<char>(c));
    }
    return platform::Utf8ToAnsi(ascii) == ascii && platform::AnsiToUtf8(ascii) == ascii;
  }();
  return keeps;
}

// UTF-16 to the code page, through UTF-8; a lone surrogate becomes "?".
std::string AnsiFromUtf16(std::u16string_view units) {
  std::string utf8;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t cp = units[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = U'?';
    }
    AppendUtf8(utf8, cp);
  }
  return platform::Utf8ToAnsi(utf8);
}

}  // namespace

AnsiText::AnsiText(std::string_view utf8) {
  if (IsAscii(utf8) && CodePageKeepsAscii()) {
    view_ = utf8;
  } else {
    converted_ = platform::Utf8ToAnsi(utf8);
    view_ = converted_;
  }
}

std::u16string Utf16FromAnsi(std::string_view ansi) {
  if (IsAscii(ansi) && CodePageKeepsAscii()) {
    return {ansi.begin(), ansi.end()};
  }
  const std::string utf8 = platform::AnsiToUtf8(ansi);
  std::u16string units;
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = DecodeUtf8(utf8, pos);
    if (cp == kInvalidCodePoint) {
      cp = U'?';
    }
    if (cp >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(cp));
    }
  }
  return units;
}

std::size_t Utf8FromAnsi(std::string_view ansi, std::size_t maxCount, std::string& utf8) {
  ansi = ansi.substr(0, maxCount);
  if (IsAscii(ansi) && CodePageKeepsAscii()) {
    utf8.assign(ansi);
  } else {
    utf8 = platform::AnsiToUtf8(ansi);
  }
  return ansi.size();
}

std::size_t Utf8FromUtf16(std::u16string_view units, std::size_t maxCount, std::string& utf8) {
  if (IsAscii(units) && CodePageKeepsAscii()) {
    units = units.substr(0, maxCount);
    utf8.resize(units.size());
    std::transform(units.begin(), units.end(), utf8.begin(),
                   [](char16_t unit) { return static_cast<char>(unit); });
    return units.size();
  }
  return Utf8FromAnsi(AnsiFromUtf16(units), maxCount, utf8);
}

std::optional<Utf16File> Utf16File::From(std::string_view bytes) {
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xFE) {
    return std::nullopt;
  }
  Utf16File file;
  file.units_.reserve(bytes.size() / 2);
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    file.units_.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  if (bytes.size() % 2 == 1) {
    file.oddByte_ = bytes.back();
  }
  return file;
}

void Utf16File::BytesOf(std::u16string_view text, std::string& bytes) const {
  bytes.assign("\xFF\xFE");
  bytes.reserve(2 + text.size() * 2 + 1);
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  if (oddByte_) {
    bytes.push_back(*oddByte_);
  }
}

}  // namespace qlxw::profile
