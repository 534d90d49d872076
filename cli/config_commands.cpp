// The configuration commands: the raw profile layer, the INI managers, the overview.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "api/cls_common.h"
#include "api/version.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/output.h"
#include "cli/write_failure.h"
#include "config/ini_file.h"
#include "config/ini_manager_interface.h"
#include "config/shared_ini.h"
#include "language/language_runtime.h"
#include "language/localized_strings.h"
#include "profile/profile.h"

namespace qlxw::cli {
namespace {

// The six fixed settings, in the order hosts know them.
Value FixedSettings() {
  const auto ini = GetSharedINI();
  return Value::Record(
      {{.name = "gSwapXY", .value = Value::Boolean(ini->gSwapXY())},
       {.name = "gAngleMode", .value = Value::Number(ini->gAngleMode() == ANGLE_MODE_400 ? "400" : "360")},
       {.name = "gFirstCoorName", .value = ini->gFirstCoorName()},
       {.name = "gSecondCoorName", .value = ini->gSecondCoorName()},
       {.name = "WarnInvisibleCurrentLayer", .value = Value::Boolean(ini->WarnInvisibleCurrentLayer())},
       {.name = "TryKeepLayerVisible", .value = Value::Boolean(ini->TryKeepLayerVisible())}},
      Layout::Named(28));
}

// What a write prints: that it was done, for scripts.
void PrintWritten(const Context& context) {
  Print(context, Value::Record({{.name = "written", .value = Value::Boolean(true), .jsonOnly = true}}));
}

bool ParseBoolWord(const std::string& text, const std::string& what) {
  if (text == "true") {
    return true;
  }
  if (text == "false") {
    return false;
  }
  throw UsageError(what + " must be true or false, not '" + text + "'");
}

}  // namespace

std::string IniFilePath(const GlobalOptions& global) {
  if (global.iniFile) {
    return *global.iniFile;
  }
  if (const char* fromEnvironment = std::getenv("QLXW_INI");
      fromEnvironment != nullptr && *fromEnvironment != 0) {
    return fromEnvironment;
  }
  std::filesystem::path folder;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != 0) {
    folder = std::filesystem::path(config) / "qlxw";
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0) {
    folder = std::filesystem::path(home) / ".config" / "qlxw";
  } else {
    folder = ".";
  }
  std::error_code ignored;  // a folder that cannot be made shows as writes that are not done
  std::filesystem::create_directories(folder, ignored);
  return (folder / "qlxw.ini").string();
}

void ConnectIniFile(const GlobalOptions& global) {
  const std::string file = IniFilePath(global);
  // A folder, pipe or device reads as an empty file to the library, which would show only defaults.
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    throw CommandError("not an INI file: a folder, a pipe or a device (give --ini a file)", file);
  }
  const auto root = GetRootObject();
  root->MainVer(global.mainVersion);
  root->INIFileName(file);
}

int Overview(const Context& context) {
  ConnectIniFile(context.line.global);
  const std::int32_t language = CurrentLanguageId();
  const std::int32_t mainVersion = GetMainVer();
  const std::string version(LibraryVersion());
  std::vector<Field> fields = {
      {.name = "version", .value = Value(version).Shown("QlxWCommon " + version), .label = ""},
      {.name = "language",
       .value = Value(language).Shown(std::to_string(language) + " " + LanguageName(language))},
      {.name = "ini", .value = GetSharedINI()->INIFileName(), .label = "INI file"},
      {.name = "mainVersion",
       .value =
           Value(mainVersion)
               .Shown(std::to_string(mainVersion) + (GetSharedINI5() ? " (INIManager5)" : " (INIManager)")),
       .label = "main version"},
      {.name = "settings", .value = FixedSettings()}};
  int status = 0;
  fields.push_back({.name = "folders", .value = FolderOverview(context, status)});
  Print(context, Value::Record(std::move(fields), Layout::Named(14)));
  return status;
}

int ProfileRead(const Context& context) {
  const std::string& file = context.args[0];
  const auto defaultText = context.Option("--default");
  std::size_t capacity = 255;
  if (const auto given = context.Option("--capacity")) {
    const std::int32_t number = ParseInt32(*given, "capacity");
    if (number < 0) {
      throw UsageError("the capacity cannot be negative");
    }
    capacity = static_cast<std::size_t>(number);
  }
  std::string text;
  const std::size_t count =
      qlxw::ProfileRead(context.args[1], context.args[2], defaultText, capacity, file, text);
  Print(context, Value::Record(
                     {{.name = "count", .value = count, .jsonOnly = true}, {.name = "text", .value = text}}));
  return 0;
}

int ProfileWrite(const Context& context) {
  const bool deleteKey = context.Flag("--delete-key");
  const bool deleteSection = context.Flag("--delete-section");
  const std::size_t wanted = deleteSection ? 2 : deleteKey ? 3 : 4;
  if ((deleteKey && deleteSection) || context.args.size() != wanted) {
    throw UsageError(
        "profile write takes FILE SECTION KEY VALUE, FILE SECTION KEY --delete-key or "
        "FILE SECTION --delete-section");
  }
  const std::optional<std::string_view> key =
      deleteSection ? std::nullopt : std::optional<std::string_view>(context.args[2]);
  const std::optional<std::string_view> value =
      wanted == 4 ? std::optional<std::string_view>(context.args[3]) : std::nullopt;
  BeginWrites();
  qlxw::ProfileWrite(context.args[1], key, value, context.args[0]);
  CheckWrites("the write was not done", context.args[0]);
  PrintWritten(context);
  return 0;
}

int IniGet(const Context& context) {
  ConnectIniFile(context.line.global);
  const std::string& section = context.args[0];
  const std::string& key = context.args[1];
  const auto defaultText = context.Option("--default");
  const auto defaultBool = context.Option("--bool");
  if (defaultText && defaultBool) {
    throw UsageError("give --default or --bool, not both");
  }
  const auto ini = GetSharedINI();
  if (defaultBool) {
    const Variant value = ini->LoadINIBoolean(section, key, ParseBoolWord(*defaultBool, "--bool"));
    const bool* flag = std::get_if<bool>(&value);
    Print(context,
          Value::Record({{.name = "value", .value = flag == nullptr ? Value() : Value::Boolean(*flag)}}));
    return 0;
  }
  const std::string value =
      defaultText ? ini->LoadINIString(section, key, *defaultText) : ini->LoadINIValueByKey(section, key);
  Print(context, Value::Record({{.name = "value", .value = value}}));
  return 0;
}

int IniSet(const Context& context) {
  ConnectIniFile(context.line.global);
  const auto ini = GetSharedINI();
  // The library's write is silent, as hosts expect; a script must know.
  BeginWrites();
  if (context.Flag("--bool")) {
    ini->WriteINIBoolean(context.args[0], context.args[1], ParseBoolWord(context.args[2], "VALUE"));
  } else {
    ini->WriteINIValueByKey(context.args[0], context.args[1], context.args[2]);
  }
  CheckWrites("the value was not written", ini->INIFileName());
  PrintWritten(context);
  return 0;
}

int IniSettings(const Context& context) {
  ConnectIniFile(context.line.global);
  Print(context, FixedSettings());
  return 0;
}

}  // namespace qlxw::cli
