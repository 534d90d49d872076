// The seams the folders stand on, against real temporary folders: where the platform finds the
// user's documents, the common application data and the library's own file, and where the legacy
// controller's folder settings are kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "folder_test_support.h"
#include "folders/folder_settings_store.h"
#include "os/shell_folders.h"

namespace qlxw {
namespace {

using testing::ScopedEnvironment;

TEST(FolderSeams, TheLibraryFolderHoldsTheLibrary) {
  const std::string folder = platform::LibraryFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::path(folder).is_absolute());
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    found = found || name.find("qlxwcommon") != std::string::npos;
  }
  EXPECT_TRUE(found) << folder;
}

TEST(FolderSeams, UnknownSpecialFoldersAreEmpty) {
  EXPECT_EQ(platform::SpecialFolderPath(0x7fff), "");
}

#ifndef _WIN32
// The content of user-dirs.dirs (null for no file) and the documents folder then: below $HOME, or
// absolute. A relative or commented-out entry is ignored.
TEST(FolderSeams, DocumentsFromTheUserDirsFileElseDocumentsInHome) {
  testing::ScratchFolder home;
  const ScopedEnvironment homeVariable("HOME", home.Path().string());
  const ScopedEnvironment configVariable("XDG_CONFIG_HOME", (home.Path() / "config").string());
  const ScopedEnvironment documentsVariable("QLXW_DOCUMENTS_DIR", std::nullopt);
  std::filesystem::create_directories(home.Path() / "config");
  const std::string userDirs = (home.Path() / "config" / "user-dirs.dirs").string();
  for (const auto& [content, below] :
       {std::pair<const char*, std::string>{nullptr, "Documents"},
        {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumentumok\"\n",
         "Dokumentumok"},
        {"XDG_DOCUMENTS_DIR=\"/srv/docs\"\n", "/srv/docs"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", ""},
        {"#XDG_DOCUMENTS_DIR=\"$HOME/x\"\n", "Documents"},
        {"XDG_DOCUMENTS_DIR=\"docs\"\n", "Documents"}}) {
    std::filesystem::remove(userDirs);
    if (content != nullptr) {
      testing::WriteBytes(userDirs, content);
    }
    const std::string expected = below.starts_with("/") ? below
                                 : below.empty()        ? home.Path().string()
                                                        : (home.Path() / below).string();
    EXPECT_EQ(platform::SpecialFolderPath(platform::kCsidlPersonal), expected) << below;
  }
}

TEST(FolderSeams, TheEnvironmentNamesTheFoldersFirst) {
  testing::ScratchFolder folder;
  const ScopedEnvironment documents("QLXW_DOCUMENTS_DIR", (folder.Path() / "D").string());
  const ScopedEnvironment appData("QLXW_COMMON_APPDATA", (folder.Path() / "A").string());
  EXPECT_EQ(platform::SpecialFolderPath(platform::kCsidlPersonal), (folder.Path() / "D").string());
  EXPECT_EQ(platform::SpecialFolderPath(platform::kCsidlCommonAppData), (folder.Path() / "A").string());
}

TEST(FolderSettingsFile, KeptInTheNamedFileFromOneRunToTheNext) {
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
  SaveFolderSetting("gsPath_Template", "bad\nvalue");  // refused, the file stays whole
  EXPECT_EQ(LoadFolderSetting("gsPath_Template"), "/data/Sablonok");
}

TEST(FolderSettingsFile, ElseBelowTheUsersConfigurationFolder) {
  testing::ScratchFolder folder;
  const ScopedEnvironment settings("QLXW_SETTINGS_FILE", std::nullopt);
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
