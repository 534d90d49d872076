#pragma once
// ActiveBarFiller: fills a host's menu and toolbar control (an ActiveBar) through the host's resource
// component, then gives the control the library's fonts and theme.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "language/localized_strings.h"
#include "ui/local_info.h"
#include "values/automation.h"

namespace qlxw {

// The host's program name: the name of the type library in its program file (PATH joined with
// EXEName, then ".exe", ".dll" or ".ocx", the first that exists), else EXEName. An empty ".exe", or
// one whose library cannot be read, gives EXEName; a ".dll" or ".ocx" whose library cannot be read
// fails with that error.
std::string ProgramName(AutomationObject& application);

// The programmatic id of a program's resource component.
std::string ResourceComponentId(const std::string& programName);

class ActiveBarFiller {
 public:
  // Where the fonts and the theme come from: the thread's shared LocalInfo for hosts.
  using LocalInfoSource = std::function<std::shared_ptr<LocalInfo>()>;

  explicit ActiveBarFiller(LocalInfoSource localInfo);

  // FillActiveBarExplicit with the resource component of the application's program.
  std::string FillActiveBar(const std::shared_ptr<AutomationObject>& application,
                            const std::shared_ptr<AutomationObject>& form,
                            const std::shared_ptr<AutomationObject>& activeBar,
                            const std::string& menuPatternName = {});
  // Creates the component, has it fill the control for the form and the pattern (the control's own
  // name when empty), then prepares the control. Returns "" when done; the three failures keep the
  // underlying number and tell the application's title, the cause and the id.
  std::string FillActiveBarExplicit(const std::string& className,
                                    const std::shared_ptr<AutomationObject>& application,
                                    const std::shared_ptr<AutomationObject>& form,
                                    const std::shared_ptr<AutomationObject>& activeBar,
                                    const std::string& menuPatternName = {});

 private:
  // Fonts (below main version 4) and toolbar style; its own failures are traced and end it quietly.
  void PrepareControl(AutomationObject& activeBar);
  std::int32_t MainVersion();

  LocalInfoSource localInfo_;
  std::optional<std::int32_t> mainVersion_;  // fetched on first need
};

}  // namespace qlxw
