#include "api/form_sentinel.h"

#include "os/thread_state.h"

namespace qlxw {

FormSentinel& SharedFormSentinel() {
  return platform::ThreadState<FormSentinel, platform::EndStage::kHostObjects>::Get();
}

}  // namespace qlxw
