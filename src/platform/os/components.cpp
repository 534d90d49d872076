#include "os/components.h"

#include <map>
#include <mutex>
#include <utility>

#include "errors/lib_error.h"
#include "text/case_fold.h"

namespace qlxw::platform {
namespace {

// Registered ids are the process's, as the system's registry is the machine's: every thread sees them.
struct ComponentRegistry {
  std::mutex lock;
  std::map<std::string, ComponentFactory> factories;  // by the id in folded case
};

ComponentRegistry& Registry() {
  static ComponentRegistry registry;
  return registry;
}

}  // namespace

void RegisterComponent(const std::string& progId, ComponentFactory factory) {
  ComponentRegistry& registry = Registry();
  const std::lock_guard<std::mutex> held(registry.lock);
  registry.factories.insert_or_assign(FoldCase(progId), std::move(factory));
}

void UnregisterComponent(const std::string& progId) {
  ComponentRegistry& registry = Registry();
  const std::lock_guard<std::mutex> held(registry.lock);
  registry.factories.erase(FoldCase(progId));
}

std::shared_ptr<AutomationObject> CreateComponent(const std::string& progId) {
  ComponentFactory factory;
  {
    ComponentRegistry& registry = Registry();
    const std::lock_guard<std::mutex> held(registry.lock);
    const auto found = registry.factories.find(FoldCase(progId));
    if (found != registry.factories.end()) {
      factory = found->second;
    }
  }
  if (!factory) {
    return detail::CreateSystemComponent(progId);
  }
  std::shared_ptr<AutomationObject> made = factory();
  if (!made) {
    RaiseAutomationError(kErrCannotCreateComponent, "ActiveX component can't create object");
  }
  return made;
}

}  // namespace qlxw::platform
