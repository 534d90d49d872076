#include "core/form_sentinel.h"

#include "core/library_state.h"

namespace qlxw {

FormSentinel& SharedFormSentinel() {
  auto& sentinel = ThisThreadState().formSentinel;
  if (!sentinel) {
    sentinel = std::make_shared<FormSentinel>();
  }
  return *sentinel;
}

}  // namespace qlxw
