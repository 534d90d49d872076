// The seams the folders stand on, against real temporary folders: where the platform finds the
// user's documents, the common application data and the library's own file, and where the legacy
// controller's folder settings are kept.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <tuple>

#include "folders/folder_settings_store.h"
#include "os/shell_folders.h"
#include "tests/support/folder_test_support.h"

namespace qlxw {
namespace {

using testing::ScopedEnvironment;

TEST(FolderSeams, TheLibraryFolderHoldsTheLibraryAndUnknownFoldersAreEmpty) {
  const std::string folder = platform::LibraryFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::path(folder).is_absolute());
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    found = found || name.find("qlxwcommon") != std::string::npos;
  }
  EXPECT_TRUE(found) << folder;
  EXPECT_EQ(platform::SpecialFolderPath(0x7fff), "");  // an unknown special folder
}

#ifndef _WIN32
// How user-dirs.dirs is there, and the documents folder then: below $HOME, or absolute. A relative or
// commented-out entry is ignored; so is a file that is not a small regular file (a pipe is not opened).
TEST(FolderSeams, DocumentsFromTheEnvironmentElseTheUserDirsFileElseDocumentsInHome) {
  testing::ScratchFolder home;
  const ScopedEnvironment homeVariable("HOME", home.Path().string());
  const ScopedEnvironment configVariable("XDG_CONFIG_HOME", (home.Path() / "config").string());
  const ScopedEnvironment documentsVariable("QLXW_DOCUMENTS_DIR", std::nullopt);
  std::filesystem::create_directories(home.Path() / "config");
  const std::string userDirs = (home.Path() / "config" / "user-dirs.dirs").string();
  enum class Made { kNone, kWritten, kPipe, kOversized };  // oversized: the text, then 1 MiB of holes
  using Row = std::tuple<Made, const char*, std::string>;
  for (const auto& [made, content, below] :
       std::initializer_list<Row>{{Made::kNone, "", "Documents"},
                                  {Made::kWritten,
                                   "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                   "XDG_DOCUMENTS_DIR=\"$HOME/Dokumentumok\"\n",
                                   "Dokumentumok"},
                                  {Made::kWritten, "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", "/srv/docs"},
                                  {Made::kWritten, "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", ""},
                                  {Made::kWritten, "#XDG_DOCUMENTS_DIR=\"$HOME/x\"\n", "Documents"},
                                  {Made::kWritten, "XDG_DOCUMENTS_DIR=\"docs\"\n", "Documents"},
                                  {Made::kPipe, "", "Documents"},
                                  {Made::kOversized, "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", "Documents"}}) {
    std::filesystem::remove(userDirs);
    if (made == Made::kPipe) {
      ASSERT_EQ(::mkfifo(userDirs.c_str(), 0600), 0);
    } else if (made != Made::kNone) {
      testing::WriteBytes(userDirs, content);
    }
    if (made == Made::kOversized) {
      std::filesystem::resize_file(userDirs, std::uintmax_t{1} << 20U);
    }
    const std::string expected = below.starts_with("/") ? below
                                 : below.empty()        ? home.Path().string()
                                                        : (home.Path() / below).string();
    EXPECT_EQ(platform::SpecialFolderPath(platform::kCsidlPersonal), expected)
        << static_cast<int>(made) << " " << content;
  }
  // The environment names the folders first.
  const ScopedEnvironment documents("QLXW_DOCUMENTS_DIR", (home.Path() / "D").string());
  const ScopedEnvironment appData("QLXW_COMMON_APPDATA", (home.Path() / "A").string());
  EXPECT_EQ(platform::SpecialFolderPath(platform::kCsidlPersonal), (home.Path() / "D").string());
  EXPECT_EQ(platform::SpecialFolderPath(platform::kCsidlCommonAppData), (home.Path() / "A").string());
}

TEST(FolderSettingsFile, KeptInTheNamedFileFromOneRunToTheNextElseBelowTheConfigurationFolder) {
  testing::ScratchFolder folder;
  const std::string file = (folder.Path() / "sub" / "settings.ini").string();
  const ScopedEnvironment settings("QLXW_SETTINGS_FILE", file);
  EXPECT_EQ(LoadFolderSetting("gsPath_Template"), "");
  SaveFolderSetting("gsPath_Template", "/data/Sablonok");
  SaveFolderSetting("gsPath_SaveFolder", "/data/Mentések/Документы");
  ResetLibraryState();
  EXPECT_EQ(LoadFolderSetting("gsPath_Template"), "/data/Sablonok");
  // Any path comes back whole, also one the 8-bit code page cannot hold: the file is UTF-8.
  EXPECT_EQ(LoadFolderSetting("GSPATH_SAVEFOLDER"), "/data/Mentések/Документы");
  EXPECT_EQ(testing::ReadBytes(file),
            "[Folders]\r\ngsPath_Template=/data/Sablonok\r\ngsPath_SaveFolder=/data/Mentések/Документы\r\n");
  // Refused, the file stays whole; failures raise, as the store's own would.
  EXPECT_EQ(testing::ErrorNumberOf([] { SaveFolderSetting("gsPath_Template", "bad\nvalue"); }),
            kErrInvalidProcedureCall);
  EXPECT_EQ(LoadFolderSetting("gsPath_Template"), "/data/Sablonok");
  ResetLibraryState();  // else below the user's configuration folder
  const ScopedEnvironment unnamed("QLXW_SETTINGS_FILE", nullptr);
  const ScopedEnvironment config("XDG_CONFIG_HOME", (folder.Path() / "cfg").string());
  EXPECT_EQ(FolderSettingsFile(), (folder.Path() / "cfg" / "qlxw" / "folder-settings.ini").string());
  SaveFolderSetting("gsPath_Template", "/x");
  EXPECT_TRUE(std::filesystem::is_regular_file(FolderSettingsFile()));
  const ScopedEnvironment noConfig("XDG_CONFIG_HOME", std::nullopt);
  const ScopedEnvironment home("HOME", (folder.Path() / "home").string());
  EXPECT_EQ(FolderSettingsFile(),
            (folder.Path() / "home" / ".config" / "qlxw" / "folder-settings.ini").string());
}

#endif

}  // namespace
}  // namespace qlxw
