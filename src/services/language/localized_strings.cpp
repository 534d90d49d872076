#include "language/localized_strings.h"

#include <algorithm>
#include <memory>

#include "language/language_runtime.h"
#include "language/language_state.h"
#include "os/thread_state.h"
#include "values/created_on_first_use.h"

namespace qlxw {
namespace {

LanguageState& Language() {
  return ThisThreadLanguageState();
}

StringTable& StringTableObject() {
  return *CreatedOnFirstUse(Language().stringTable);
}

// A text needed before any object adopted a language is in the runtime's current one, so that errors
// raised before the first object carry their text. The library's language stays unset (0): what hosts
// and resource components are told of it is not changed by a lookup.
std::int32_t LookupLanguageId() {
  const std::int32_t current = Language().currentLanguageId;
  if (current != 0) {
    return current;
  }
  const std::int32_t runtime = ThisThreadLanguageRuntime()->LanguageID();
  return std::find(SupportedLanguageIds.begin(), SupportedLanguageIds.end(), runtime) !=
                 SupportedLanguageIds.end()
             ? runtime
             : kLangHungarian;
}

}  // namespace

LanguageState& ThisThreadLanguageState() {
  return platform::ThreadState<LanguageState, platform::EndStage::kSettings>::Get();
}

void EnsureStringTables() {
  if (Language().stringTablesSetUp) {
    return;
  }
  StringTableObject().TakeFromModule();
  Language().stringTablesSetUp = true;
}

std::string GetLocalizedString(std::int32_t id, std::string_view /*baseText*/) {
  return StringTableObject().Lookup(id, LookupLanguageId());
}

void SetCurrentLanguage(std::int32_t languageId, std::string_view /*language*/) {
  const bool supported = std::find(SupportedLanguageIds.begin(), SupportedLanguageIds.end(), languageId) !=
                         SupportedLanguageIds.end();
  Language().currentLanguageId = supported ? languageId : kLangHungarian;
}

std::int32_t CurrentLanguageId() {
  return Language().currentLanguageId;
}

std::vector<std::int32_t> LocalizedStringIds() {
  return StringTableObject().Ids(LookupLanguageId());
}

}  // namespace qlxw
