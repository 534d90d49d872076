#pragma once
// The lines of a text file's bytes, as views into them.
#include <string_view>
#include <vector>

namespace qlxw {

// The lines of `text`, split at LF, each without its line end (LF, or CR LF); a last line without one
// counts too.
inline std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    if (end == std::string_view::npos) {
      break;
    }
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace qlxw
