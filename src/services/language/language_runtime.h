#pragma once
// The language runtime: knows the user-interface language and tells every subscription when the host
// changes it. One runtime per thread, like the rest of the library-wide state.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qlxw {

using LanguageChangedHandler = std::function<void(std::int32_t languageId, const std::string& language)>;

class LanguageRuntime {
 public:
  explicit LanguageRuntime(std::int32_t languageId) : languageId_(languageId) {}

  std::int32_t LanguageID() const noexcept { return languageId_; }
  std::string Language() const;

  // Sets the language and runs the handler of every live subscription, in the order they subscribed.
  void ChangeLanguage(std::int32_t languageId);

  // The runtime keeps only a weak hold: a handler whose owner has gone is skipped and forgotten.
  void Subscribe(const std::shared_ptr<LanguageChangedHandler>& handler);

 private:
  std::int32_t languageId_;
  std::vector<std::weak_ptr<LanguageChangedHandler>> handlers_;
};

// The runtime of this thread, created on first use with StartupLanguageId().
std::shared_ptr<LanguageRuntime> ThisThreadLanguageRuntime();

// The host's one call to change the user-interface language: every subscribed object of this thread
// runs its LanguageChanged handler.
void ChangeUILanguage(std::int32_t languageId);

// The language at start-up: QLXW_LANG when it holds a number, else the system's UI locale.
std::int32_t StartupLanguageId();

// hu -> 1038, en -> 2057, ro -> 1048, vi -> 1066, sr in Latin script -> 2074, anything else -> 1038.
std::int32_t LanguageIdFromLocaleName(std::string_view localeName);

// "Hungarian", "English (United Kingdom)" ... for the supported ids, empty for others.
std::string LanguageName(std::int32_t languageId);

}  // namespace qlxw
