#pragma once
// This thread's share of the library-wide state for texts and language.
#include <cstdint>
#include <memory>

#include "ui/language_runtime.h"
#include "ui/string_table.h"

namespace qlxw {

struct LanguageState {
  std::int32_t currentLanguageId = 0;
  std::shared_ptr<StringTable> stringTable;
  bool stringTablesSetUp = false;
  std::shared_ptr<LanguageRuntime> runtime;
};

}  // namespace qlxw
