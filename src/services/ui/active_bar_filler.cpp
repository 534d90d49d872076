#include "ui/active_bar_filler.h"

#include <utility>
#include <variant>

#include "config/ini_file.h"
#include "diag/trace.h"
#include "errors/lib_error.h"
#include "language/localized_strings.h"
#include "os/components.h"
#include "os/file_system.h"
#include "os/type_library.h"
#include "text/number_text.h"

namespace qlxw {
namespace {

constexpr std::int32_t kThemeMainVersion = 4;
constexpr std::int32_t kFadeDelayMs = 250;
constexpr std::string_view kLineBreak = "\r\n";

AutomationObject& Required(const std::shared_ptr<AutomationObject>& object) {
  if (!object) {
    RaiseAutomationError(kErrObjectNotSet);
  }
  return *object;
}

// A property's value as text, as a host's string conversion gives it.
std::string TextOf(const AutomationValue& value) {
  struct Text {
    std::string operator()(std::monostate /*empty*/) const { return {}; }
    std::string operator()(bool flag) const { return flag ? "True" : "False"; }
    std::string operator()(std::int32_t number) const { return std::to_string(number); }
    std::string operator()(double number) const { return NumberToText(number); }
    std::string operator()(float number) const { return NumberToText(number); }
    std::string operator()(const std::string& text) const { return text; }
    std::string operator()(const std::shared_ptr<AutomationObject>& /*object*/) const {
      RaiseAutomationError(kErrTypeMismatch);
    }
  };
  return std::visit(Text{}, value);
}

std::string TextProperty(AutomationObject& object, std::string_view name) {
  return TextOf(object.GetProperty(name));
}

// Sets a property of an object the control holds ("Font" then "Name").
void SetNestedProperty(AutomationObject& owner, std::string_view holder, std::string_view name,
                       const AutomationValue& value) {
  const AutomationValue held = owner.GetProperty(holder);
  const auto* object = std::get_if<std::shared_ptr<AutomationObject>>(&held);
  if (object == nullptr || !*object) {
    RaiseAutomationError(kErrObjectRequired);
  }
  (*object)->SetProperty(name, value);
}

// The application's title, or "" when it cannot be read.
std::string TitleOf(const std::shared_ptr<AutomationObject>& application) {
  try {
    return application ? TextProperty(*application, "Title") : std::string();
  } catch (const LibError&) {
    return {};
  }
}

// The failure of a step: the underlying number and source, the title, the cause and the id.
[[noreturn]] void RaiseStepError(const LibError& cause, const std::shared_ptr<AutomationObject>& application,
                                 std::string_view phrase, const std::string& className) {
  std::string description = "A(z) " + TitleOf(application);
  description.append(phrase).append(kLineBreak).append(cause.Description()).append(kLineBreak);
  description.append("ProgId: ").append(className);
  throw LibError(cause.Number(), std::move(description), cause.Source());
}

}  // namespace

std::string ProgramName(AutomationObject& application) {
  const std::string exeName = TextProperty(application, "EXEName");
  const auto files = platform::GetFileSystemObject();
  const std::string base = files->BuildPath(TextProperty(application, "PATH"), exeName);
  std::string name;
  if (const std::string exe = base + ".exe"; files->FileExists(exe)) {
    name = exeName;
    if (files->FileLength(exe) >= 1) {
      try {
        name = platform::TypeLibraryName(exe);
      } catch (const LibError&) {
        name = exeName;  // a program without a type library is known by its own name
      }
    }
  } else if (const std::string dll = base + ".dll"; files->FileExists(dll)) {
    name = platform::TypeLibraryName(dll);
  } else if (const std::string ocx = base + ".ocx"; files->FileExists(ocx)) {
    name = platform::TypeLibraryName(ocx);
  } else {
    name = exeName;
  }
  Trace("ActiveBarFiller.GetProgramName : ", name, " ", kTraceTime);
  return name;
}

std::string ResourceComponentId(const std::string& programName) {
  return programName + "Res" + "." + "Core";
}

// Only the string tables: the filler neither follows language changes nor takes the runtime's language;
// the resource component gets the library's current language, whatever it is.
ActiveBarFiller::ActiveBarFiller(LocalInfoSource localInfo) : localInfo_(std::move(localInfo)) {
  EnsureStringTables();
}

std::string ActiveBarFiller::FillActiveBar(const std::shared_ptr<AutomationObject>& application,
                                           const std::shared_ptr<AutomationObject>& form,
                                           const std::shared_ptr<AutomationObject>& activeBar,
                                           const std::string& menuPatternName) {
  Trace("ActiveBarFiller.FillActivebar>> ", kTraceTime);
  const std::string name = ProgramName(Required(application));
  FillActiveBarExplicit(ResourceComponentId(name), application, form, activeBar, menuPatternName);
  return {};
}

std::string ActiveBarFiller::FillActiveBarExplicit(const std::string& className,
                                                   const std::shared_ptr<AutomationObject>& application,
                                                   const std::shared_ptr<AutomationObject>& form,
                                                   const std::shared_ptr<AutomationObject>& activeBar,
                                                   const std::string& menuPatternName) {
  std::shared_ptr<AutomationObject> component;
  try {
    component = platform::CreateComponent(className);
  } catch (const LibError& error) {
    RaiseStepError(error, application, " erőforrás példányosítása sikertelen", className);
  }
  AutomationObject& bar = Required(activeBar);
  std::string pattern = menuPatternName;
  if (pattern.empty()) {
    pattern = TextProperty(bar, "Name");
  }
  try {
    component->CallFirstMethod({TextProperty(Required(form), "Name"), TextProperty(bar, "Name"), pattern,
                                CurrentLanguageId(), activeBar});
  } catch (const LibError& error) {
    RaiseStepError(error, application, " menü betötlése sikertelen", className);
  }
  try {
    PrepareControl(bar);
  } catch (const LibError& error) {
    RaiseStepError(error, application, " menü inicializáslása sikertelen", className);
  }
  Trace("ActiveBarFiller.FillActivebar<< ", kTraceTime);
  return {};
}

std::int32_t ActiveBarFiller::MainVersion() {
  if (!mainVersion_) {
    mainVersion_ = GetMainVer();
  }
  return *mainVersion_;
}

void ActiveBarFiller::PrepareControl(AutomationObject& activeBar) {
  Trace("ActiveBarFiller.InitActiveBar { ");
  bool themed = false;
  try {
    themed = MainVersion() >= kThemeMainVersion;
    if (!themed) {
      // Older hosts draw their menus in the fonts LocalInfo keeps.
      const std::shared_ptr<LocalInfo> info = localInfo_();
      activeBar.SetProperty("UseUnicode", info->UnicodeMenu());
      activeBar.SetProperty("MenuFontStyle", std::int32_t{1});
      SetNestedProperty(activeBar, "ControlFont", "Name", info->FontName());
      SetNestedProperty(activeBar, "Font", "Name", info->FontName());
      SetNestedProperty(activeBar, "Font", "Size", info->MenuFontSize());  // a Single, as stored
    }
  } catch (const LibError&) {
    Trace(" } ActiveBarFiller.InitActiveBar FAILED to query version");
    return;
  }
  try {
    if (themed) {
      const std::shared_ptr<ITheme> theme = localInfo_()->Theme();
      activeBar.SetProperty("ToolbarStyle", theme->MenuStyleId());
      activeBar.SetProperty("FloatingToolbarFadeDelay", theme->TransparentBands() ? kFadeDelayMs : 0);
    } else {
      activeBar.SetProperty("ToolbarStyle", std::int32_t{0});
      activeBar.SetProperty("FloatingToolbarFadeDelay", std::int32_t{0});
    }
  } catch (const LibError&) {
    Trace(" } ActiveBarFiller.InitActiveBar FAILED to set dd style");
    return;
  }
  Trace(" } ActiveBarFiller.InitActiveBar ");
}

}  // namespace qlxw
