#pragma once
// The string tables compiled into the library from resources/strings.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>

namespace qlxw::detail {

struct StringEntry {
  std::int32_t id;
  std::string_view text;
};

struct LanguageStrings {
  std::int32_t languageId;
  std::span<const StringEntry> entries;  // ids ascending
};

extern const LanguageStrings kLanguageStrings[];
extern const std::size_t kLanguageStringsCount;

}  // namespace qlxw::detail
