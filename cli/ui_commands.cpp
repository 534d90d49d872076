// The user-interface commands: the hot-key table, the locale settings and the theme.
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "api/shared_local_info.h"
#include "cli/context.h"
#include "cli/json.h"
#include "cli/printable.h"
#include "cli/write_failure.h"
#include "errors/lib_error.h"
#include "os/dde.h"
#include "text/number_text.h"
#include "ui/help_control.h"
#include "ui/help_dictionary.h"
#include "ui/hot_keys.h"
#include "ui/key_names.h"
#include "ui/local_info.h"
#include "ui/page_viewers.h"

namespace qlxw::cli {
namespace {

std::string BoolText(bool value) {
  return value ? "True" : "False";
}

bool ParseTrueFalse(const std::string& text, const std::string& what) {
  if (text == "true" || text == "false") {
    return text == "true";
  }
  throw UsageError(what + " must be true or false, not '" + text + "'");
}

// "112=Help": the code, then the function (which may hold '=' itself).
void Assign(HotKeys& keys, const std::string& assignment) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) {
    throw UsageError("--assign takes CODE=FUNCTION, not '" + assignment + "'");
  }
  const std::int32_t code = ParseInt32(assignment.substr(0, equals), "key code");
  if (code < std::numeric_limits<std::int16_t>::min() || code > std::numeric_limits<std::int16_t>::max()) {
    throw UsageError("a key code is a 16-bit number, not " + std::to_string(code));
  }
  // The library's rule: -1 is no key, and assigning it does nothing. Not an error: the table printed is
  // right; the notice says why it shows no change.
  if (code == kNoHotKey) {
    std::cerr << "qlxw: notice: --assign " << Printable(assignment) << " does nothing: " << kNoHotKey
              << " is no key\n";
    return;
  }
  keys.SetHotKeyCode(static_cast<std::int16_t>(code), assignment.substr(equals + 1));
}

struct LocaleValue {
  std::string name;
  std::string text;
  std::string json;
};

std::vector<LocaleValue> LocaleValues(const LocalInfo& info) {
  const auto flag = [](const std::string& name, bool value) {
    return LocaleValue{name, BoolText(value), JsonBool(value)};
  };
  const std::string fontSize = NumberToText(info.FontSize());
  const std::string menuFontSize = NumberToText(info.MenuFontSize());
  return {{"FontName", info.FontName(), JsonString(info.FontName())},
          {"FontSize", fontSize, fontSize},
          {"MenuFontSize", menuFontSize, menuFontSize},
          flag("UnicodeMenu", info.UnicodeMenu()),
          {"Charset", std::to_string(info.Charset()), std::to_string(info.Charset())},
          {"DefaultFormDC", info.DefaultFormDC(), JsonString(info.DefaultFormDC())},
          flag("IsMenuToolTipHook", info.IsMenuToolTipHook()),
          flag("IsMenuCaptionHook", info.IsMenuCaptionHook()),
          flag("IsCaptionHook", info.IsCaptionHook()),
          flag("IsMessageHook", info.IsMessageHook()),
          flag("IsToolTipHook", info.IsToolTipHook()),
          flag("UserLocalization", info.UserLocalization())};
}

void PrintLocale(const Context& context, LocalInfo& info) {
  const std::vector<LocaleValue> values = LocaleValues(info);
  const auto theme = info.Theme();
  const std::int32_t style = theme->MenuStyleId();
  const bool transparent = theme->TransparentBands();
  if (context.Json()) {
    context.out << "{";
    for (const LocaleValue& value : values) {
      context.out << JsonString(value.name) << ": " << value.json << ", ";
    }
    context.out << R"("Theme": {"MenuStyleId": )" << style << R"(, "TransparentBands": )"
                << JsonBool(transparent) << "}}\n";
    return;
  }
  const auto line = [&](const std::string& indent, const std::string& name, const std::string& text) {
    context.out << indent << name << std::string(20 - indent.size() - name.size(), ' ') << Printable(text)
                << "\n";
  };
  for (const LocaleValue& value : values) {
    line("", value.name, value.text);
  }
  context.out << "Theme\n";
  line("  ", "MenuStyleId", std::to_string(style));
  line("  ", "TransparentBands", BoolText(transparent));
}

std::string RequiredOption(const Context& context, const std::string& name) {
  const auto value = context.Option(name);
  if (!value) {
    throw UsageError(name + " is needed");
  }
  return *value;
}

}  // namespace

int HotKeysTable(const Context& context) {
  HotKeys keys;
  keys.ResetHotKeys();
  for (const std::string& assignment : context.Options("--assign")) {
    Assign(keys, assignment);
  }
  const std::int32_t count = keys.FunctionCount();
  if (context.Json()) {
    context.out << "[";
  }
  for (std::int32_t position = 1; position <= count; ++position) {
    const auto at = static_cast<std::int16_t>(position);
    const std::string function = keys.GetFncName(at);
    const std::int16_t code = keys.GetKeyCode(at);
    if (context.Json()) {
      context.out << (position > 1 ? ", " : "") << "{\"position\": " << position
                  << ", \"function\": " << JsonString(function) << ", \"code\": " << code
                  << ", \"key\": " << JsonString(KeyName(code)) << "}";
    } else {
      context.out << position << '\t' << Printable(function) << '\t' << code << '\t'
                  << Printable(KeyName(code)) << '\n';
    }
  }
  if (context.Json()) {
    context.out << "]\n";
  }
  return 0;
}

int Locale(const Context& context) {
  ConnectIniFile(context.line.global);
  PrintLocale(context, *GetLocalInfo());
  return 0;
}

int LocaleTheme(const Context& context) {
  // Every value is checked before the first is written.
  const auto style = context.Option("--style");
  const std::optional<std::int32_t> styleId =
      style ? std::optional<std::int32_t>(ParseInt32(*style, "menu style")) : std::nullopt;
  const auto transparentText = context.Option("--transparent");
  const std::optional<bool> transparent =
      transparentText ? std::optional<bool>(ParseTrueFalse(*transparentText, "--transparent")) : std::nullopt;
  ConnectIniFile(context.line.global);
  const auto info = GetLocalInfo();
  const auto theme = info->Theme();
  BeginWrites();
  if (styleId) {
    theme->MenuStyleId(*styleId);
  }
  if (transparent) {
    theme->TransparentBands(*transparent);
  }
  CheckWrites("the theme was not written", IniFilePath(context.line.global));
  PrintLocale(context, *info);
  return 0;
}

int HelpViewer(const Context& context) {
  const std::string viewer = HelpControl().GetPDFViewerExeName(context.args[0]);
  if (context.Json()) {
    context.out << "{\"viewer\": " << JsonString(viewer) << "}\n";
  } else {
    context.out << Printable(viewer) << "\n";
  }
  return 0;
}

int HelpPage(const Context& context) {
  HelpControl help;
  help.Init(RequiredOption(context, "--dictionary"), help.PDFFile());
  const std::string& key = context.args[0];
  const std::int16_t page = help.PageOf(key);
  if (context.Json()) {
    context.out << "{\"key\": " << JsonString(key) << ", \"page\": " << page << "}\n";
  } else {
    context.out << page << "\n";
  }
  return 0;
}

int HelpCommands(const Context& context) {
  HelpControl help;
  const std::string pdf = RequiredOption(context, "--pdf");
  help.Init(RequiredOption(context, "--dictionary"), pdf);
  const std::int32_t pageIndex = help.PageOf(context.args[0]) - 1;
  const std::string open = DocOpenCommand(pdf);
  const std::string goTo = DocGoToCommand(pdf, pageIndex);
  if (context.Json()) {
    context.out << "[" << JsonString(open) << ", " << JsonString(goTo) << "]\n";
  } else {
    context.out << Printable(open) << "\n" << Printable(goTo) << "\n";
  }
  return 0;
}

namespace {

// Which way a lookup goes: DDE to the viewer, or the viewer started at the page; "none" without a viewer.
std::string WayToTheViewer(const HelpControl& help, const std::string& pdf) {
  try {
    const std::string viewer = help.GetPDFViewerExeName(pdf);
    if (!platform::DdeAvailable() && PageArguments(viewer, pdf, 1)) {
      return "command line";
    }
    return "dde";
  } catch (const LibError&) {
    return "none";
  }
}

}  // namespace

int HelpOpen(const Context& context) {
  HelpControl help;
  const std::string pdf = RequiredOption(context, "--pdf");
  help.Init(RequiredOption(context, "--dictionary"), pdf);
  const bool shown = help.AcrobatLookup(context.args[0]);
  if (context.Json()) {
    context.out << "{\"shown\": " << JsonBool(shown) << ", \"way\": " << JsonString(WayToTheViewer(help, pdf))
                << "}\n";
  }
  return shown ? 0 : 1;
}

}  // namespace qlxw::cli
