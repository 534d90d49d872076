// The configuration commands: the raw profile layer, the INI managers, the overview.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "api/cls_common.h"
#include "api/version.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/json.h"
#include "cli/printable.h"
#include "cli/write_failure.h"
#include "config/ini_file.h"
#include "config/ini_manager_interface.h"
#include "config/shared_ini.h"
#include "language/language_runtime.h"
#include "language/localized_strings.h"
#include "profile/profile.h"

namespace qlxw::cli {
namespace {

std::string BoolText(bool value) {
  return value ? "True" : "False";
}

struct Setting {
  std::string name;
  std::string text;  // as printed
  std::string json;  // as a JSON value
};

std::vector<Setting> FixedSettings() {
  const auto ini = GetSharedINI();
  const bool swap = ini->gSwapXY();
  const std::string angle = ini->gAngleMode() == ANGLE_MODE_400 ? "400" : "360";
  const std::string first = ini->gFirstCoorName();
  const std::string second = ini->gSecondCoorName();
  const bool warn = ini->WarnInvisibleCurrentLayer();
  const bool keep = ini->TryKeepLayerVisible();
  return {{"gSwapXY", BoolText(swap), swap ? "true" : "false"},
          {"gAngleMode", angle, angle},
          {"gFirstCoorName", first, JsonString(first)},
          {"gSecondCoorName", second, JsonString(second)},
          {"WarnInvisibleCurrentLayer", BoolText(warn), warn ? "true" : "false"},
          {"TryKeepLayerVisible", BoolText(keep), keep ? "true" : "false"}};
}

void PrintSettings(const Context& context, const std::vector<Setting>& settings, const std::string& indent) {
  for (const Setting& setting : settings) {
    context.out << indent << setting.name << std::string(28 - setting.name.size(), ' ')
                << Printable(setting.text) << "\n";
  }
}

std::string JsonSettings(const std::vector<Setting>& settings) {
  std::string json = "{";
  for (std::size_t i = 0; i < settings.size(); ++i) {
    json += (i > 0 ? ", " : "") + JsonString(settings[i].name) + ": " + settings[i].json;
  }
  return json + "}";
}

// What a write prints: nothing, or that it was done.
void PrintWritten(const Context& context) {
  if (context.Json()) {
    context.out << "{\"written\": true}\n";
  }
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
  const auto root = GetRootObject();
  root->MainVer(global.mainVersion);
  root->INIFileName(IniFilePath(global));
}

int Overview(const Context& context) {
  ConnectIniFile(context.line.global);
  const std::int32_t language = CurrentLanguageId();
  const std::string iniFile = GetSharedINI()->INIFileName();
  const std::int32_t mainVersion = GetMainVer();
  const std::vector<Setting> settings = FixedSettings();
  if (context.Json()) {
    int status = 0;
    const std::string folders = FolderOverviewJson(context, status);
    context.out << "{\"version\": " << JsonString(LibraryVersion()) << ", \"language\": " << language
                << ", \"ini\": " << JsonString(iniFile) << ", \"mainVersion\": " << mainVersion
                << ", \"settings\": " << JsonSettings(settings) << ", \"folders\": " << folders << "}\n";
    return status;
  }
  context.out << "QlxWCommon " << LibraryVersion() << "\n"
              << "language      " << language << " " << Printable(LanguageName(language)) << "\n"
              << "INI file      " << Printable(iniFile) << "\n"
              << "main version  " << mainVersion << " (" << (GetSharedINI5() ? "INIManager5" : "INIManager")
              << ")\n"
              << "settings\n";
  PrintSettings(context, settings, "  ");
  return PrintFolderOverview(context);
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
  if (context.Json()) {
    context.out << "{\"count\": " << count << ", \"text\": " << JsonString(text) << "}\n";
  } else {
    context.out << Printable(text) << "\n";
  }
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
    if (context.Json()) {
      context.out << "{\"value\": " << (flag == nullptr ? "null" : *flag ? "true" : "false") << "}\n";
    } else {
      context.out << (flag == nullptr ? "" : BoolText(*flag)) << "\n";
    }
    return 0;
  }
  const std::string value =
      defaultText ? ini->LoadINIString(section, key, *defaultText) : ini->LoadINIValueByKey(section, key);
  if (context.Json()) {
    context.out << "{\"value\": " << JsonString(value) << "}\n";
  } else {
    context.out << Printable(value) << "\n";
  }
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
  const std::vector<Setting> settings = FixedSettings();
  if (context.Json()) {
    context.out << JsonSettings(settings) << "\n";
  } else {
    PrintSettings(context, settings, "");
  }
  return 0;
}

}  // namespace qlxw::cli
