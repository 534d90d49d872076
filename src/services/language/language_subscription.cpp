#include "language/language_subscription.h"

#include <utility>

#include "language/localized_strings.h"

namespace qlxw {

LanguageSubscription::LanguageSubscription()
    : LanguageSubscription([](std::int32_t languageId, const std::string& language) {
        SetCurrentLanguage(languageId, language);
      }) {}

LanguageSubscription::LanguageSubscription(LanguageChangedHandler handler)
    : runtime_(ThisThreadLanguageRuntime()),
      handler_(std::make_shared<LanguageChangedHandler>(std::move(handler))) {
  runtime_->Subscribe(handler_);
}

void LanguageSubscription::AdoptRuntimeLanguage() const {
  SetCurrentLanguage(LanguageID(), Language());
}

}  // namespace qlxw
