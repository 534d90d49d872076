#pragma once
// What a language-following object holds: a subscription to the thread's language runtime.
// By default a language change sets the library's current language; an object that reacts otherwise
// passes its own handler.
#include <cstdint>
#include <memory>
#include <string>

#include "language/language_runtime.h"

namespace qlxw {

class LanguageSubscription {
 public:
  LanguageSubscription();
  explicit LanguageSubscription(LanguageChangedHandler handler);
  LanguageSubscription(const LanguageSubscription&) = delete;
  LanguageSubscription& operator=(const LanguageSubscription&) = delete;
  ~LanguageSubscription() = default;

  std::int32_t LanguageID() const noexcept { return runtime_->LanguageID(); }
  std::string Language() const { return runtime_->Language(); }

  // The construction step of the language-following classes: the runtime's language becomes current.
  void AdoptRuntimeLanguage() const;

 private:
  std::shared_ptr<LanguageRuntime> runtime_;
  std::shared_ptr<LanguageChangedHandler> handler_;  // the runtime holds it weakly
};

}  // namespace qlxw
