#pragma once
// CommonFacade: the shared INI managers and the host's library anchors, without the root object.
#include <memory>

#include "config/ini_manager5.h"
#include "config/ini_manager_interface.h"
#include "values/automation.h"

namespace qlxw {

// What a host's anchors offer. This class is also the library's empty implementation: Add and Remove
// ignore their argument, Released answers false.
class ILibAnchors {
 public:
  virtual ~ILibAnchors() = default;
  virtual void Add(const std::shared_ptr<AutomationObject>& /*libAnchor*/) {}
  virtual void Remove(const std::shared_ptr<AutomationObject>& /*libAnchor*/) {}
  // True when the anchors may be replaced.
  virtual bool Released() { return false; }
};

class CommonFacade {
 public:
  std::shared_ptr<INIManagerInterface> INI() const;
  std::shared_ptr<INIManager5> INI5() const;
  std::shared_ptr<ILibAnchors> LibAnchors() const;
  // Replaces the stored anchors only when there are none or they report themselves released;
  // otherwise fails with 0x80040001 and an empty description.
  void LibAnchors(std::shared_ptr<ILibAnchors> anchors);
};

}  // namespace qlxw
