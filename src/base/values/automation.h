#pragma once
// Host objects the library is handed and reaches by late binding (IDispatch on Windows): members are
// found by name when called.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qlxw {

class AutomationObject;

// A value passed to or returned by a host object: what automation variants carry for the library.
// Numbers from hosts arrive as double; a float goes out as a Single where a host expects one.
using AutomationValue = std::variant<std::monostate, bool, std::int32_t, double, std::string,
                                     std::shared_ptr<AutomationObject>, float>;

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;

  // Whether the object is a form of the host platform (what a frame form must be).
  virtual bool IsForm() const = 0;
  // Whether the object is a label control of the host platform that can hold a DDE link.
  virtual bool IsDdeLabel() const { return false; }

  // Late-bound calls. The host's own errors pass through unchanged (number and description); an
  // object without such a member fails with 438. This base offers no members at all.
  virtual AutomationValue GetProperty(std::string_view name);
  virtual void SetProperty(std::string_view name, const AutomationValue& value);
  virtual AutomationValue CallMethod(std::string_view name, const std::vector<AutomationValue>& arguments);
  // Calls the first method of the object's interface, whatever its name: how a component of a
  // closed interface that only its makers know is called.
  virtual AutomationValue CallFirstMethod(const std::vector<AutomationValue>& arguments);
};

}  // namespace qlxw
