#include "values/automation.h"

#include "errors/lib_error.h"

namespace qlxw {

AutomationValue AutomationObject::GetProperty(std::string_view /*name*/) {
  RaiseAutomationError(kErrNoSuchMember);
}

void AutomationObject::SetProperty(std::string_view /*name*/, const AutomationValue& /*value*/) {
  RaiseAutomationError(kErrNoSuchMember);
}

AutomationValue AutomationObject::CallMethod(std::string_view /*name*/,
                                             const std::vector<AutomationValue>& /*arguments*/) {
  RaiseAutomationError(kErrNoSuchMember);
}

AutomationValue AutomationObject::CallFirstMethod(const std::vector<AutomationValue>& /*arguments*/) {
  RaiseAutomationError(kErrNoSuchMember);
}

}  // namespace qlxw
