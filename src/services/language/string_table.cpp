#include "language/string_table.h"

#include <algorithm>
#include <span>

#include "language/string_table_data.h"

namespace qlxw {
namespace {

std::span<const detail::StringEntry> EntriesOf(std::int32_t languageId) {
  const std::span<const detail::LanguageStrings> tables(detail::kLanguageStrings,
                                                        detail::kLanguageStringsCount);
  const auto found = std::find_if(tables.begin(), tables.end(), [&](const detail::LanguageStrings& table) {
    return table.languageId == languageId;
  });
  return found == tables.end() ? std::span<const detail::StringEntry>{} : found->entries;
}

}  // namespace

std::string StringTable::Lookup(std::int32_t id, std::int32_t languageId) const {
  if (!loaded_) {
    return {};
  }
  const auto entries = EntriesOf(languageId);
  const auto found =
      std::lower_bound(entries.begin(), entries.end(), id,
                       [](const detail::StringEntry& entry, std::int32_t key) { return entry.id < key; });
  if (found == entries.end() || found->id != id) {
    return {};
  }
  return std::string(found->text);
}

std::vector<std::int32_t> StringTable::Ids(std::int32_t languageId) const {
  std::vector<std::int32_t> ids;
  if (loaded_) {
    for (const auto& entry : EntriesOf(languageId)) {
      ids.push_back(entry.id);
    }
  }
  return ids;
}

}  // namespace qlxw
