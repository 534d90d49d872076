// The user-interface commands: the hot-key table, the locale settings and the theme.
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "api/shared_local_info.h"
#include "cli/context.h"
#include "cli/output.h"
#include "cli/printable.h"
#include "cli/write_failure.h"
#include "errors/lib_error.h"
#include "os/dde.h"
#include "os/file_system.h"
#include "text/number_text.h"
#include "ui/help_control.h"
#include "ui/help_dictionary.h"
#include "ui/hot_keys.h"
#include "ui/key_names.h"
#include "ui/local_info.h"
#include "ui/page_viewers.h"

namespace qlxw::cli {
namespace {

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

// The locale's values, then its theme's, in the order hosts know them (and read them).
Value LocaleValue(LocalInfo& info) {
  std::vector<Field> fields = {
      {.name = "FontName", .value = info.FontName()},
      {.name = "FontSize", .value = Value::Number(NumberToText(info.FontSize()))},
      {.name = "MenuFontSize", .value = Value::Number(NumberToText(info.MenuFontSize()))},
      {.name = "UnicodeMenu", .value = Value::Boolean(info.UnicodeMenu())},
      {.name = "Charset", .value = info.Charset()},
      {.name = "DefaultFormDC", .value = info.DefaultFormDC()},
      {.name = "IsMenuToolTipHook", .value = Value::Boolean(info.IsMenuToolTipHook())},
      {.name = "IsMenuCaptionHook", .value = Value::Boolean(info.IsMenuCaptionHook())},
      {.name = "IsCaptionHook", .value = Value::Boolean(info.IsCaptionHook())},
      {.name = "IsMessageHook", .value = Value::Boolean(info.IsMessageHook())},
      {.name = "IsToolTipHook", .value = Value::Boolean(info.IsToolTipHook())},
      {.name = "UserLocalization", .value = Value::Boolean(info.UserLocalization())}};
  const auto theme = info.Theme();
  fields.push_back({.name = "Theme",
                    .value = Value::Record(
                        {{.name = "MenuStyleId", .value = theme->MenuStyleId()},
                         {.name = "TransparentBands", .value = Value::Boolean(theme->TransparentBands())}},
                        Layout::Named(18))});
  return Value::Record(std::move(fields), Layout::Named(20));
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
  std::vector<Value> rows;
  for (std::int32_t position = 1; position <= count; ++position) {
    const auto at = static_cast<std::int16_t>(position);
    const std::int16_t code = keys.GetKeyCode(at);
    rows.push_back(Value::Record({{.name = "position", .value = position},
                                  {.name = "function", .value = keys.GetFncName(at)},
                                  {.name = "code", .value = code},
                                  {.name = "key", .value = KeyName(code)}},
                                 Layout::Row()));
  }
  Print(context, Value::List(std::move(rows)));
  return 0;
}

int Locale(const Context& context) {
  ConnectIniFile(context.line.global);
  Print(context, LocaleValue(*GetLocalInfo()));
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
  Print(context, LocaleValue(*info));
  return 0;
}

int HelpViewer(const Context& context) {
  // The system's answer for a missing file is a bare code: say what it means.
  if (!platform::FileSystemObject().FileExists(context.args[0])) {
    throw CommandError("no such file: the program that opens a file is asked for an existing one",
                       context.args[0]);
  }
  const std::string viewer = HelpControl().GetPDFViewerExeName(context.args[0]);
  Print(context, Value::Record({{.name = "viewer", .value = viewer}}));
  return 0;
}

int HelpPage(const Context& context) {
  HelpControl help;
  const std::string dictionary = RequiredOption(context, "--dictionary");
  // The library gives page 1 for every key of a dictionary it cannot read; a person wants to know.
  if (!HelpDictionary::Load(dictionary)) {
    throw CommandError("the dictionary cannot be read (missing, not a file, or too large)", dictionary);
  }
  help.Init(dictionary, help.PDFFile());
  const std::string& key = context.args[0];
  const std::int16_t page = help.PageOf(key);
  Print(context,
        Value::Record({{.name = "key", .value = key, .jsonOnly = true}, {.name = "page", .value = page}}));
  return 0;
}

int HelpCommands(const Context& context) {
  HelpControl help;
  const std::string pdf = RequiredOption(context, "--pdf");
  help.Init(RequiredOption(context, "--dictionary"), pdf);
  const std::int32_t pageIndex = help.PageOf(context.args[0]) - 1;
  const std::string open = DocOpenCommand(pdf);
  const std::string goTo = DocGoToCommand(pdf, pageIndex);
  Print(context, Value::List({open, goTo}));
  return 0;
}

namespace {

// Which way a lookup goes: DDE to the viewer, or the viewer started with the manual (at the page where
// it takes one); "none" without a viewer.
std::string WayToTheViewer(const HelpControl& help, const std::string& pdf) {
  try {
    help.GetPDFViewerExeName(pdf);
    return platform::DdeAvailable() ? "dde" : "command line";
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
  // The way is asked of the system (file association, DDE) only when it is shown.
  const Value way = context.Json() ? Value(WayToTheViewer(help, pdf)) : Value();
  Print(context, Value::Record({{.name = "shown", .value = Value::Boolean(shown), .jsonOnly = true},
                                {.name = "way", .value = way, .jsonOnly = true}}));
  return shown ? 0 : 1;
}

}  // namespace qlxw::cli
