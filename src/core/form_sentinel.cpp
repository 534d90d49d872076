#include "core/form_sentinel.h"

#include "core/library_state.h"

namespace qlxw {

FormSentinel& SharedFormSentinel() {
  return *CreatedOnFirstUse(ThisThreadState().formSentinel);
}

}  // namespace qlxw
