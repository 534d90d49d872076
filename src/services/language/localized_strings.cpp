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

// A thread that needs a text before any object adopted a language takes the runtime's current one, so
// that errors raised before the first object carry their text.
std::int32_t LookupLanguageId() {
  if (Language().currentLanguageId == 0) {
    const auto runtime = ThisThreadLanguageRuntime();
    SetCurrentLanguage(runtime->LanguageID(), runtime->Language());
  }
  return Language().currentLanguageId;
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
