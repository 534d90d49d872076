#include "config/ini_file.h"

#include "config/ini_manager_interface.h"
#include "config/ini_values.h"
#include "errors/lib_error.h"
#include "language/localized_strings.h"
#include "os/files.h"
#include "os/thread_state.h"
#include "profile/profile.h"
#include "profile/profile_encoding.h"
#include "text/case_fold.h"

namespace qlxw {
namespace {

// Which INI file this thread's host uses, and for which main version.
struct HostIniState {
  std::string fileName;
  bool fileNameSet = false;
  std::int32_t mainVersion = 0;
};

using HostIniStateSlot = platform::ThreadState<HostIniState, platform::EndStage::kSettings>;

}  // namespace

void SetMainVer(std::int32_t mainVersion) {
  HostIniStateSlot::Get().mainVersion = mainVersion;
}

bool MainVersionIsSet() {
  const HostIniState* state = HostIniStateSlot::Find();
  return state != nullptr && state->mainVersion != 0;
}

std::int32_t GetMainVer() {
  const std::int32_t mainVersion = HostIniStateSlot::Get().mainVersion;
  if (mainVersion == 0) {
    RaiseLibError(kLibErrNotInitialized, {}, "Main version not initialized!");
  }
  return mainVersion;
}

std::string GetINIFileName() {
  return HostIniStateSlot::Get().fileName;
}

void SetINIFileNameOnce(const std::string& name) {
  HostIniState& state = HostIniStateSlot::Get();
  if (state.fileNameSet) {
    RaiseLibError(kLibErrRepeatedOrBadData, {}, "ini filename re-initialization attempt!");
  }
  // A name no file can have would lose every later write without a word, and could not be corrected.
  if (TrimSpaces(name).empty() || !platform::IsPossibleFileName(name)) {
    RaiseLibError(kLibErrInvalidArgument, {}, "Invalid inifile name!");
  }
  state.fileName = name;
  state.fileNameSet = true;
}

void ApplyINIFileName(const std::string& name, std::string_view sourceClass) {
  const std::string current = GetINIFileName();
  if (current.empty()) {
    SetINIFileNameOnce(name);
  } else if (!EqualsNoCase(current, name)) {
    RaiseLibError(kLibErrNotInitialized, sourceClass,
                  GetLocalizedString(74, "Hiba! Az ini-fájl útvonala nem változtatható!"));
  }
}

std::string LoadINIValueFixedBuffer(std::string_view section, std::string_view key,
                                    std::string_view defaultText, INIValueSeen* seen) {
  std::string value;
  ProfileRead(section, key, defaultText, 255, GetINIFileName(), value, seen);
  value.resize(std::min(value.size(), value.find('\0')));
  return CutCommentAndTab(value);
}

std::string LoadINIValueByKey2(std::string_view section, std::string_view key, std::string_view sourceClass,
                               INIValueSeen* seen) {
  // Reading with buffers of 32, 64, ... 2048 characters while the value fills the buffer ends with
  // n = min(length, 2047); one read with the largest buffer gives the same n.
  std::string value;
  const std::size_t n = ProfileRead(section, key, std::nullopt, 2048, GetINIFileName(), value, seen);
  if (n > kGrowingBufferLongestValue) {
    RaiseLibError(kLibErrRepeatedOrBadData, sourceClass,
                  "LoadINIValueByKey2 data size error  |" + std::string(section) + "." + std::string(key) +
                      "|=" + std::to_string(n));
  }
  return value;
}

void WriteINIProfileValue(std::string_view section, std::optional<std::string_view> key,
                          std::optional<std::string_view> value) {
  ProfileWrite(section, key, value, GetINIFileName());
}

std::size_t INIValueLength(std::string_view value) {
  return profile::AnsiText(value).View().size();
}

void WriteINIDefaultUnlessChanged(std::string_view section, std::string_view key, std::string_view value,
                                  const std::optional<std::string>& seen) {
  ProfileWriteUnlessChanged(section, key, value, seen, GetINIFileName());
}

}  // namespace qlxw
