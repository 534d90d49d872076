#include "language/language_runtime.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "language/language_state.h"
#include "language/localized_strings.h"
#include "os/ui_locale.h"

namespace qlxw {

std::string LanguageRuntime::Language() const {
  return LanguageName(languageId_);
}

void LanguageRuntime::ChangeLanguage(std::int32_t languageId) {
  languageId_ = languageId;
  // Work on a snapshot: a handler may subscribe or drop subscriptions while we walk.
  const auto snapshot = handlers_;
  const std::string name = Language();
  for (const auto& weak : snapshot) {
    if (const auto handler = weak.lock()) {
      (*handler)(languageId, name);
    }
  }
  std::erase_if(handlers_, [](const auto& weak) { return weak.expired(); });
}

void LanguageRuntime::Subscribe(const std::shared_ptr<LanguageChangedHandler>& handler) {
  std::erase_if(handlers_, [](const auto& weak) { return weak.expired(); });
  handlers_.push_back(handler);
}

std::shared_ptr<LanguageRuntime> ThisThreadLanguageRuntime() {
  LanguageState& state = ThisThreadLanguageState();
  if (!state.runtime) {
    state.runtime = std::make_shared<LanguageRuntime>(StartupLanguageId());
  }
  return state.runtime;
}

void ChangeUILanguage(std::int32_t languageId) {
  ThisThreadLanguageRuntime()->ChangeLanguage(languageId);
}

std::int32_t StartupLanguageId() {
  if (const char* value = std::getenv("QLXW_LANG"); value != nullptr) {
    const std::string_view text(value);
    std::int32_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error == std::errc() && end == text.data() + text.size() && !text.empty()) {
      return id;
    }
  }
  return LanguageIdFromLocaleName(platform::SystemUiLocaleName());
}

std::int32_t LanguageIdFromLocaleName(std::string_view localeName) {
  std::string name(localeName);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  // The language is the leading letters: "hu_HU.UTF-8", "en-GB", "sr_RS@latin", "sr-Latn-RS".
  const std::size_t languageEnd = name.find_first_not_of("abcdefghijklmnopqrstuvwxyz");
  const std::string language = name.substr(0, languageEnd);
  if (language == "hu") {
    return kLangHungarian;
  }
  if (language == "en") {
    return kLangEnglishUK;
  }
  if (language == "ro") {
    return kLangRomanian;
  }
  if (language == "vi") {
    return kLangVietnamese;
  }
  if (language == "sr" &&
      (name.find("@latin") != std::string::npos || name.find("-latn") != std::string::npos ||
       name.find("_latn") != std::string::npos)) {
    return kLangSerbianLatin;
  }
  return kLangHungarian;
}

std::string LanguageName(std::int32_t languageId) {
  switch (languageId) {
    case kLangHungarian:
      return "Hungarian";
    case kLangVietnamese:
      return "Vietnamese";
    case kLangEnglishUK:
      return "English (United Kingdom)";
    case kLangPseudo:
      return "Field captions";
    case kLangSerbianLatin:
      return "Serbian (Latin)";
    case kLangRomanian:
      return "Romanian";
    default:
      return {};
  }
}

}  // namespace qlxw
