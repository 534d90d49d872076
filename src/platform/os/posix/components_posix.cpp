#include "errors/lib_error.h"
#include "os/components.h"

namespace qlxw::platform::detail {

std::shared_ptr<AutomationObject> CreateSystemComponent(const std::string& progId) {
  RaiseAutomationError(kErrCannotCreateComponent,
                       "ActiveX component can't create object: nothing is registered as " + progId);
}

}  // namespace qlxw::platform::detail
