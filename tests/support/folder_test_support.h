#pragma once
// What the folder tests share: the platform's folders steered into a scratch folder, a recording
// stand-in for the user's notices, and paths written with '/' for every platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "config/ini_file.h"
#include "diag/cls_debug.h"
#include "errors/lib_error.h"
#include "folders/folder_settings_store.h"
#include "language/language_runtime.h"
#include "language/localized_strings.h"
#include "os/codepage.h"
#include "os/file_system.h"
#include "os/notices.h"
#include "os/shell_folders.h"
#include "tests/support/test_support.h"

namespace qlxw::testing {

// Sets an environment variable for one test and puts back what was there.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    Set(name, value ? value->c_str() : nullptr);
  }
  ScopedEnvironment(const char* name, const char* value)  // nullptr: unset
      : ScopedEnvironment(name, value == nullptr ? std::nullopt : std::optional<std::string>(value)) {}
  ~ScopedEnvironment() { Set(name_.c_str(), old_ ? old_->c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  static void Set(const char* name, const char* value) {
#if defined(_WIN32)
    _putenv_s(name, value == nullptr ? "" : value);
#else
    static_cast<void>(value != nullptr ? setenv(name, value, 1) : unsetenv(name));
#endif
  }
  std::string name_;
  std::optional<std::string> old_;
};

// Notices and beeps as they would have reached the user.
class RecordingNotices final : public platform::NoticeSink {
 public:
  RecordingNotices() : previous_(platform::ReplaceNoticeSink(this)) {}
  ~RecordingNotices() override { platform::ReplaceNoticeSink(previous_); }
  RecordingNotices(const RecordingNotices&) = delete;
  RecordingNotices& operator=(const RecordingNotices&) = delete;

  void Notice(std::string_view text, std::string_view caption, platform::NoticeIcon icon) override {
    notices.push_back(std::string(caption) + ": " + std::string(text));
    icons.push_back(icon);
  }
  void Beep() override { ++beeps; }

  std::vector<std::string> notices;
  std::vector<platform::NoticeIcon> icons;
  int beeps = 0;

 private:
  platform::NoticeSink* previous_;
};

// A path written with '/' in the platform's separators.
inline std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '/', platform::PathSeparator());
  return path;
}

inline std::string Join(const std::string& left, const std::string& right) {
  return platform::FileSystemObject().BuildPath(left, Native(right));
}

// What a started program wrote to the file, once it appears (or after five seconds).
inline std::string ReadWhenWritten(const std::string& path) {
  for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return ReadBytes(path);
}

inline bool FolderExists(const std::string& path) {
  return platform::FileSystemObject().FolderExists(path);
}

// The LibError the action raises; number 0 when it raises none.
inline LibError Raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const LibError& error) {
    return error;
  }
  return {0, "(no error)", {}};
}

inline std::string DescriptionOf(const std::function<void()>& action) {
  return Raised(action).Description();
}

// What the action wrote to a fresh trace file, in UTF-8 (the file is in the 8-bit code page).
inline std::string TraceOf(const std::string& file, const std::function<void()>& action) {
  std::error_code missing;
  std::filesystem::remove(file, missing);
  clsDebug debug;
  debug.sLogFileName(file);
  debug.bCallLog(true);
  action();
  debug.bCallLog(false);
  return platform::AnsiToUtf8(ReadBytes(file));
}

// A text that a regular expression matches literally.
inline std::string Quoted(const std::string& literal) {
  return std::regex_replace(literal, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

// A fresh library in Hungarian, with the user's documents, the common application data and the
// folder settings in a scratch folder (where the platform takes them from the environment), no
// notice reaching the user, and both stored legacy folders cleared.
class FolderTest : public FreshLibraryState {
 protected:
  void SetUp() override {
    FreshLibraryState::SetUp();
    ChangeUILanguage(kLangHungarian);
    SaveFolderSetting("gsPath_Template", "");
    SaveFolderSetting("gsPath_SaveFolder", "");
  }

  // Main version and INI file, as a host sets them.
  void ConnectIni(std::int32_t mainVersion) {
    SetMainVer(mainVersion);
    SetINIFileNameOnce(Ini());
  }
  // A fresh library in Hungarian again, of this main version with an INI file of this text.
  void Restart(std::int32_t mainVersion, const std::string& iniText) {
    ResetLibraryState();
    ChangeUILanguage(kLangHungarian);
    WriteBytes(Ini(), iniText);
    ConnectIni(mainVersion);
  }
  std::string Ini() const { return folder_.File("host.ini"); }
  std::string IniText() const { return platform::AnsiToUtf8(ReadBytes(Ini())); }

  ScratchFolder folder_;
  ScopedEnvironment documentsVariable_{"QLXW_DOCUMENTS_DIR", (folder_.Path() / "Documents").string()};
  ScopedEnvironment appDataVariable_{"QLXW_COMMON_APPDATA", (folder_.Path() / "ProgramData").string()};
  ScopedEnvironment settingsVariable_{"QLXW_SETTINGS_FILE", folder_.File("folder-settings.ini")};
  // Below the scratch folder where the environment names them; Windows asks its shell.
  std::string documents_ = platform::SpecialFolderPath(platform::kCsidlPersonal);
  std::string appData_ = platform::SpecialFolderPath(platform::kCsidlCommonAppData);
  RecordingNotices notices_;
};

}  // namespace qlxw::testing
