#pragma once
// JSON texts for qlxw's output: quoted and escaped (the rest of the document is the renderer's).
#include <cstdio>
#include <string>
#include <string_view>

#include "text/utf8.h"

namespace qlxw::cli {

// A JSON string for `text`. Bytes that are not UTF-8 (a file name in another encoding, say) become
// U+FFFD, so the document stays valid whatever the text held.
inline std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t cp = DecodeUtf8(text, pos);
    switch (cp) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case kInvalidCodePoint:
        out += "\\ufffd";
        break;
      default:
        if (cp < 0x20 || cp == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(cp));
          out += escaped;
        } else {
          out.append(text.substr(start, pos - start));
        }
    }
  }
  out += '"';
  return out;
}

}  // namespace qlxw::cli
