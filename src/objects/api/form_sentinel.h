#pragma once
// Holds the host's main frame form for the library, one per thread. Hosts never see it.
#include <memory>

#include "language/language_subscription.h"
#include "values/automation.h"

namespace qlxw {

class FormSentinel {
 public:
  void AttachFrameForm(std::shared_ptr<AutomationObject> form) { frameForm_ = std::move(form); }
  std::shared_ptr<AutomationObject> GetFrameForm() const { return frameForm_; }

 private:
  LanguageSubscription ml_RuntimeSupport;
  std::shared_ptr<AutomationObject> frameForm_;
};

// This thread's sentinel, created on first use.
FormSentinel& SharedFormSentinel();

}  // namespace qlxw
