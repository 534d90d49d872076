#pragma once
// This thread's share of the library-wide state for texts and language.
#include <cstdint>
#include <memory>

#include "language/language_runtime.h"
#include "language/string_table.h"

namespace qlxw {

struct LanguageState {
  std::int32_t currentLanguageId = 0;
  std::shared_ptr<StringTable> stringTable;
  bool stringTablesSetUp = false;
  std::shared_ptr<LanguageRuntime> runtime;
};

// This thread's state, made on first use.
LanguageState& ThisThreadLanguageState();

}  // namespace qlxw
