#pragma once
// The string-table object: answers lookups by string id and language once it has taken the tables
// that are compiled into the library.
#include <cstdint>
#include <string>
#include <vector>

namespace qlxw {

class StringTable {
 public:
  // Makes the library's own tables the source of every later lookup.
  void TakeFromModule() noexcept { loaded_ = true; }
  bool Loaded() const noexcept { return loaded_; }

  // The text of the id in that language; empty when the language has no such entry, or before the
  // tables are taken.
  std::string Lookup(std::int32_t id, std::int32_t languageId) const;

  // Every id the language's table holds, ascending.
  std::vector<std::int32_t> Ids(std::int32_t languageId) const;

 private:
  bool loaded_ = false;
};

}  // namespace qlxw
