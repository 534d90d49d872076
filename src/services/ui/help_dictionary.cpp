#include "ui/help_dictionary.h"

#include <limits>
#include <vector>

#include "os/codepage.h"
#include "os/files.h"
#include "text/case_fold.h"
#include "text/number_text.h"

namespace qlxw {
namespace {

// A manual's index of key and page lines is kilobytes, at most a few hundred; a file beyond this
// is not one and reads as missing.
constexpr std::size_t kMaxDictionaryBytes = std::size_t{4} << 20U;

// Lines end at CR or CR LF, as text lines of the 8-bit files are read; a lone LF stays in the line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\r');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) {
      break;
    }
    text.remove_prefix(end + 1);
    if (!text.empty() && text.front() == '\n') {
      text.remove_prefix(1);
    }
  }
  return lines;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t comma = line.find(','); comma != std::string_view::npos; comma = line.find(',')) {
    fields.push_back(line.substr(0, comma));
    line.remove_prefix(comma + 1);
  }
  fields.push_back(line);
  return fields;
}

bool TryPage(std::string_view text, std::int16_t& page) {
  std::int32_t number = 0;
  if (!TryTextToLong(text, number) || number < std::numeric_limits<std::int16_t>::min() ||
      number > std::numeric_limits<std::int16_t>::max()) {
    return false;
  }
  page = static_cast<std::int16_t>(number);
  return true;
}

}  // namespace

std::optional<HelpDictionary> HelpDictionary::Load(const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, kMaxDictionaryBytes, bytes).Ok()) {
    return std::nullopt;
  }
  HelpDictionary dictionary;
  for (const std::string_view line : SplitLines(bytes)) {
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() < 2) {
      continue;
    }
    std::int16_t page = 0;
    if (!TryPage(fields[1], page) || !dictionary.Add(platform::AnsiToUtf8(fields[0]), page)) {
      break;
    }
  }
  return dictionary;
}

std::optional<std::int16_t> HelpDictionary::PageOf(std::string_view key) const {
  const auto found = pages_.find(FoldCase(key));
  if (found == pages_.end() || found->second < 1) {
    return std::nullopt;
  }
  return found->second;
}

bool HelpDictionary::Add(std::string_view key, std::int16_t page) {
  return pages_.emplace(FoldCase(key), page).second;
}

std::string DocOpenCommand(std::string_view pdfPath) {
  std::string command = "[DocOpen(\"";
  command.append(pdfPath).append("\")]");
  return command;
}

std::string DocGoToCommand(std::string_view pdfPath, std::int32_t pageIndex) {
  std::string command = "[DocGoTo(\"";
  command.append(pdfPath).append("\",").append(std::to_string(pageIndex)).append(")]");
  return command;
}

}  // namespace qlxw
