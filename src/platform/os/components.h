#pragma once
// Components created by programmatic id ("HostRes.Core"), as a host's CreateObject creates them, and
// reached by late binding.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "values/automation.h"

namespace qlxw::platform {

// What a failed creation raises: "ActiveX component can't create object".
inline constexpr std::int32_t kErrCannotCreateComponent = 429;

using ComponentFactory = std::function<std::shared_ptr<AutomationObject>()>;

// Makes `progId` (letter case ignored) create its objects with `factory` in this process, before the
// system's registry is asked; a second registration replaces the first. This is how a host on a
// system without COM provides its components, at start-up.
void RegisterComponent(const std::string& progId, ComponentFactory factory);
void UnregisterComponent(const std::string& progId);

// A new object of the component: from the factory registered here, else on Windows the class the
// registry gives the id (through its IDispatch). No such component, or a factory that gives none,
// fails with 429; a factory's own error passes unchanged.
std::shared_ptr<AutomationObject> CreateComponent(const std::string& progId);

namespace detail {
// The system's part: Windows asks COM; elsewhere there is nothing to ask and it fails with 429.
std::shared_ptr<AutomationObject> CreateSystemComponent(const std::string& progId);
}  // namespace detail

}  // namespace qlxw::platform
