#include "folders/folder_settings_store.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "errors/lib_error.h"
#include "os/file_failure.h"
#include "os/user_registry.h"
#include "profile/profile.h"
#include "profile/profile_write_error.h"

namespace qlxw {
namespace {

constexpr const char* kSection = "Folders";
constexpr std::size_t kPathCapacity = 32768;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string FolderSettingsFile() {
  if (std::string given = Environment("QLXW_SETTINGS_FILE"); !given.empty()) {
    return given;
  }
  std::filesystem::path folder;
  if (const std::string config = Environment("XDG_CONFIG_HOME"); !config.empty()) {
    folder = config;
  } else {
    folder = std::filesystem::path(Environment("HOME")) / ".config";
  }
  return (folder / "qlxw" / "folder-settings.ini").string();
}

std::string LoadFolderSetting(const std::string& name) {
  if (platform::UserRegistryAvailable()) {
    return platform::ReadUserRegistryText(kSection, name).value_or(std::string());
  }
  std::string text;
  ProfileRead(kSection, name, "", kPathCapacity, FolderSettingsFile(), text, ProfileCharset::kUtf8);
  return text;
}

void SaveFolderSetting(const std::string& name, const std::string& path) {
  if (platform::UserRegistryAvailable()) {
    if (!platform::WriteUserRegistryText(kSection, name, path)) {
      RaiseAutomationError(kErrDeviceIo);  // the registry tells no more
    }
    return;
  }
  const std::string file = FolderSettingsFile();
  std::error_code ignored;  // a folder that cannot be made shows as a write that is not done
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
  if (!ProfileWrite(kSection, name, path, file, ProfileCharset::kUtf8)) {
    const ProfileWriteError why = LastProfileWriteError();
    RaiseAutomationError(why.refusal != WriteRefusal::kNone ? kErrInvalidProcedureCall
                                                            : platform::AutomationErrorNumberOf(why.file));
  }
}

}  // namespace qlxw
