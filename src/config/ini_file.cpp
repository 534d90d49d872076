#include "config/ini_file.h"

#include "config/ini_manager_interface.h"
#include "config/ini_values.h"
#include "core/library_state.h"
#include "diag/lib_error.h"
#include "platform/codepage.h"
#include "platform/profile.h"
#include "text/case_fold.h"
#include "ui/localized_strings.h"

namespace qlxw {
namespace {

std::optional<std::string> OptionalAnsi(std::optional<std::string_view> utf8) {
  return utf8 ? std::optional<std::string>(platform::Utf8ToAnsi(*utf8)) : std::nullopt;
}

}  // namespace

std::string GetINIFileName() {
  return ThisThreadState().iniFileName;
}

void SetINIFileNameOnce(const std::string& name) {
  LibraryState& state = ThisThreadState();
  if (state.iniFileNameSet) {
    RaiseLibError(kLibErrRepeatedOrBadData, {}, "ini filename re-initialization attempt!");
  }
  if (TrimSpaces(name).empty()) {
    RaiseLibError(kLibErrInvalidArgument, {}, "Invalid inifile name!");
  }
  state.iniFileName = name;
  state.iniFileNameSet = true;
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
                                    std::string_view defaultText) {
  std::string value;
  platform::ProfileRead(platform::Utf8ToAnsi(section), platform::Utf8ToAnsi(key),
                        platform::Utf8ToAnsi(defaultText), 255, GetINIFileName(), value);
  value.resize(std::min(value.size(), value.find('\0')));
  return CutCommentAndTab(platform::AnsiToUtf8(value));
}

std::string LoadINIValueByKey2(std::string_view section, std::string_view key, std::string_view sourceClass) {
  // Reading with buffers of 32, 64, ... 2048 characters while the value fills the buffer ends with
  // n = min(length, 2047); one read with the largest buffer gives the same n.
  std::string value;
  const std::size_t n = platform::ProfileRead(platform::Utf8ToAnsi(section), platform::Utf8ToAnsi(key),
                                              std::nullopt, 2048, GetINIFileName(), value);
  if (n >= 1024) {
    RaiseLibError(kLibErrRepeatedOrBadData, sourceClass,
                  "LoadINIValueByKey2 data size error  |" + std::string(section) + "." + std::string(key) +
                      "|=" + std::to_string(n));
  }
  return platform::AnsiToUtf8(value);
}

void WriteINIProfileValue(std::string_view section, std::optional<std::string_view> key,
                          std::optional<std::string_view> value) {
  platform::ProfileWrite(platform::Utf8ToAnsi(section), ViewOf(OptionalAnsi(key)),
                         ViewOf(OptionalAnsi(value)), GetINIFileName());
}

}  // namespace qlxw
