#pragma once
// Texts from files, hosts and the command line in the text output: one line each, whatever they hold.
#include <cstdio>
#include <string>
#include <string_view>

namespace qlxw::cli {

// `text` with its control characters written out (\n, \r, \t, \xHH), so that a line break or a tab in
// a name or a path cannot split the output's lines and columns. Backslashes stay as they are: they
// are the Windows path separator. --json gives texts unchanged.
inline std::string Printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(byte));
      out += escaped;
    }
  }
  return out;
}

}  // namespace qlxw::cli
