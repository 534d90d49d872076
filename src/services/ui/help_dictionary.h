#pragma once
// The help dictionary: which page of the host's PDF manual belongs to a help key, read from a text file
// in the 8-bit code page, one "key,page[,...]" entry a line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qlxw {

class HelpDictionary {
 public:
  // Empty when the file cannot be read. Lines with fewer than two comma-separated fields are skipped;
  // the key is taken as written; a duplicate key (in any letter case) or a page that is not a 16-bit
  // number ends the reading at that line, keeping the entries before it.
  static std::optional<HelpDictionary> Load(const std::string& path);

  // The page (counted from 1) stored for the key in any letter case; none when the key is not there
  // or its page is below 1, which is no page of the manual (the key still counts as a duplicate).
  std::optional<std::int16_t> PageOf(std::string_view key) const;
  std::size_t Size() const noexcept { return pages_.size(); }

  // Adds the entry; false (and nothing added) when the key is already there.
  bool Add(std::string_view key, std::int16_t page);

 private:
  std::unordered_map<std::string, std::int16_t> pages_;  // by the folded key
};

// The viewer's commands, with the path in double quotes: "[DocOpen("path")]" and
// "[DocGoTo("path",index)]", the index counted from 0.
std::string DocOpenCommand(std::string_view pdfPath);
std::string DocGoToCommand(std::string_view pdfPath, std::int32_t pageIndex);

}  // namespace qlxw
