#pragma once
// Host objects the library is handed and reaches by late binding (IDispatch on Windows).
namespace qlxw::platform {

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;

  // Whether the object is a form of the host platform (what a frame form must be).
  virtual bool IsForm() const = 0;
};

}  // namespace qlxw::platform
