#include "text/case_fold.h"

#include "text/utf8.h"

namespace qlxw {
namespace {

constexpr bool In(char32_t cp, char32_t first, char32_t last) {
  return cp >= first && cp <= last;
}

// Ranges where capitals and small letters alternate, capital first at an even or odd code point.
constexpr bool AlternatingCapital(char32_t cp) {
  if (In(cp, 0x0100, 0x012F) || In(cp, 0x0132, 0x0137) || In(cp, 0x014A, 0x0177) || In(cp, 0x0182, 0x0185) ||
      In(cp, 0x01A0, 0x01A5) || In(cp, 0x01DE, 0x01EF) || In(cp, 0x01F8, 0x021F) || In(cp, 0x0222, 0x0233) ||
      In(cp, 0x0460, 0x0481) || In(cp, 0x048A, 0x04BF) || In(cp, 0x04D0, 0x052F) || In(cp, 0x1E00, 0x1E95) ||
      In(cp, 0x1EA0, 0x1EFF)) {
    return cp % 2 == 0;
  }
  if (In(cp, 0x0139, 0x0148) || In(cp, 0x0179, 0x017E) || In(cp, 0x01B3, 0x01B6) || In(cp, 0x01CD, 0x01DC) ||
      In(cp, 0x04C1, 0x04CE)) {
    return cp % 2 == 1;
  }
  return false;
}

}  // namespace

char32_t FoldCase(char32_t cp) noexcept {
  if (cp < 0x80) {
    return In(cp, 'A', 'Z') ? cp + 0x20 : cp;
  }
  if (In(cp, 0x00C0, 0x00DE) && cp != 0x00D7) {
    return cp + 0x20;
  }
  if (AlternatingCapital(cp)) {
    return cp + 1;
  }
  switch (cp) {
    case 0x0178:  // Y with diaeresis
      return 0x00FF;
    case 0x01AF:  // U with horn (Vietnamese)
      return 0x01B0;
    case 0x0130:  // capital I with dot: its small letter is the plain i
      return 'i';
    case 0x01C4:
    case 0x01C5:
      return 0x01C6;
    case 0x01C7:
    case 0x01C8:
      return 0x01C9;
    case 0x01CA:
    case 0x01CB:
      return 0x01CC;
    default:
      break;
  }
  if (In(cp, 0x0391, 0x03AB) && cp != 0x03A2) {
    return cp + 0x20;  // Greek
  }
  if (In(cp, 0x0410, 0x042F)) {
    return cp + 0x20;  // Cyrillic basic
  }
  if (In(cp, 0x0400, 0x040F)) {
    return cp + 0x50;  // Cyrillic with marks (Serbian Ђ, Ј, Љ, Њ, Ћ, Џ)
  }
  return cp;
}

std::string FoldCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    const char32_t cp = DecodeUtf8(utf8, pos);
    if (cp == kInvalidCodePoint) {
      out.push_back(utf8[start]);
    } else {
      AppendUtf8(out, FoldCase(cp));
    }
  }
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) noexcept {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const std::size_t si = i;
    const std::size_t sj = j;
    const char32_t ca = DecodeUtf8(a, i);
    const char32_t cb = DecodeUtf8(b, j);
    if (ca == kInvalidCodePoint || cb == kInvalidCodePoint) {
      if (ca != cb || a[si] != b[sj]) {
        return false;
      }
    } else if (FoldCase(ca) != FoldCase(cb)) {
      return false;
    }
  }
  return i == a.size() && j == b.size();
}

}  // namespace qlxw
