// Folder numbers, their keys and the folder manager: the default tree, relative storage, the
// expansion rules with their errors, and the "Folders" section of the INI file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "config/ini_file.h"
#include "errors/lib_error.h"
#include "folders/folder_manager.h"
#include "folders/keys.h"
#include "language/language_runtime.h"
#include "os/codepage.h"
#include "profile/profile_write_error.h"
#include "tests/support/folder_test_support.h"

namespace qlxw {
namespace {

using testing::Join;
using testing::Native;

struct KeyCase {
  std::int32_t id;
  const char* key;
  const char* hungarian;
  const char* english;
  std::int32_t parent;  // the folder it is below by default; 0 for the three roots
};

// In the order of enumeration.
const std::vector<KeyCase> kKeyCases = {
    {10, "BaseFiles", "Alap_allomanyok", "Core_files", 4},
    {7, "GoldenCrown", "Aranykorona", "Golden crown", 6},
    {5, "Font25", "Font25", "Font25", 4},
    {9, "Format", "Formatum", "Format", 6},
    {14, "Help", "Help", "Help", 4},
    {4, "System", "Rendszer", "SYSTEM", 16},
    {13, "BroadSheets", "Nyomtatvany", "Blank_document", 4},
    {15, "Program", "Program", "Program", 0},
    {12, "QD", "QD", "QD", 4},
    {2, "SaveFolder", "QLX_Mentések", "QLX_Saves", 3},
    {6, "Tables", "Tablazatok", "Tables", 4},
    {11, "Temp", "Temp", "Temp", 4},
    {1, "Templates", "Sablonok", "Templates", 4},
    {8, "AreaCalculation", "Teruletszamitas", "Area_Calculation", 6},
    {3, "UserFolder", "UserFolder", "UserFolder", 0},
    {16, "WorkSpace", "QLX_Munka", "QLX_WorkSpace", 0},
    {0, "None", "", "", 0},
};

using KeysTest = testing::FolderTest;

TEST_F(KeysTest, EveryRecordInTheLanguageCurrentWhenBuilt) {
  const Keys hungarian;
  ChangeUILanguage(kLangEnglishUK);
  const Keys english;
  ASSERT_EQ(hungarian.Count(), 17);
  std::size_t position = 0;
  for (const auto& record : hungarian) {
    ASSERT_LT(position, kKeyCases.size());
    const KeyCase& c = kKeyCases[position++];
    SCOPED_TRACE(c.key);
    EXPECT_EQ(record->Key(), c.key);
    EXPECT_EQ(hungarian.Item(c.id)->Key(), c.key);
    EXPECT_EQ(hungarian.Item(c.id)->Value(), c.hungarian);  // kept after the language changed
    EXPECT_EQ(english.Item(c.id)->Key(), c.key);
    EXPECT_EQ(english.Item(c.id)->Value(), c.english);
  }
  EXPECT_EQ(position, kKeyCases.size());
  for (const std::int32_t id : {17, -1, static_cast<std::int32_t>(0x80000000u)}) {
    EXPECT_EQ(testing::ErrorNumberOf([&] { hungarian.Item(id); }), kErrInvalidProcedureCall) << id;
    EXPECT_EQ(FolderIdentifierName(id), "");
  }
  EXPECT_EQ(FolderIdentifierName(egsPath_Teruletszamitas), "egsPath_Teruletszamitas");
}

class FolderManagerTest : public testing::FolderTest {
 protected:
  // The default tree in Hungarian, worked out here from its three roots and the keys' table: a folder's
  // path is its parent's and its own name.
  // NOLINTNEXTLINE(misc-no-recursion)
  std::string DefaultPath(std::int32_t id) const {
    const auto key =
        std::find_if(kKeyCases.begin(), kKeyCases.end(), [&](const KeyCase& c) { return c.id == id; });
    if (key->parent != 0) {
      return Join(DefaultPath(key->parent), key->hungarian);
    }
    return id == egsPath_Program      ? platform::LibraryFolder()
           : id == egsPath_UserFolder ? documents_
                                      : appData_;
  }

  const std::string kUnconfigured = "Az útvonal nincs konfigurálva : ";
  const std::string kRing = "Az útvonal kifejtése sikertelen!";
};

TEST_F(FolderManagerTest, AFreshManagerHoldsTheDefaultTreeInTheLanguageOfTheRuntime) {
  const FolderManager manager;
  EXPECT_EQ(manager.Count(), 16);
  for (std::int32_t id = 1; id <= 16; ++id) {
    EXPECT_EQ(manager.AbsolutePath(id), DefaultPath(id)) << FolderIdentifierName(id);
  }
  EXPECT_EQ(manager.VariableOf(egsPath_NONE), "");
  ChangeUILanguage(kLangEnglishUK);
  EXPECT_EQ(FolderManager().AbsolutePath(egsPath_Aranykorona), Join(appData_, "SYSTEM/Tables/Golden crown"));
}

// A folder first made an alias of another ("" for none), the folder set, the folder whose path the new
// one is written from, what follows that path (with '/'), and the definition expected (with '/').
TEST_F(FolderManagerTest, MakingRelativeTakesTheLongestBaseFolderAndOnTiesTheLowerNumber) {
  for (const auto& [alias, aliasOf, id, base, suffix, stored] :
       {std::tuple{egsPath_NONE, "", egsPath_Template, egsPath_QlxWSystem, "/MyTemplates",
                   "<System>MyTemplates"},
        std::tuple{egsPath_NONE, "", egsPath_Template, egsPath_WorkSpace, "/Rendszer/a/b", "<System>a/b"},
        std::tuple{egsPath_NONE, "", egsPath_SaveFolder, egsPath_Temp, "2/x",
                   "<System>Temp2/x"},                                                       // no separator
        std::tuple{egsPath_NONE, "", egsPath_Template, egsPath_Tablazatok, "", "<Tables>"},  // another folder
        std::tuple{egsPath_Temp, "<Tables>", egsPath_Template, egsPath_Tablazatok, "/x", "<Tables>x"},
        std::tuple{egsPath_Tablazatok, "<Temp>", egsPath_Template, egsPath_Temp, "/x", "<Tables>x"}}) {
    FolderManager manager;
    if (alias != egsPath_NONE) {
      manager.SetPath(alias, aliasOf, true);
    }
    const std::string path = manager.AbsolutePath(base) + Native(suffix);
    manager.SetPath(id, path);
    EXPECT_EQ(manager.StoredValue(id), Native(stored)) << path;
    EXPECT_EQ(manager.AbsolutePath(id), path);
  }
}

TEST_F(FolderManagerTest, MovingABaseFolderMovesTheFoldersBelowItAnEmptyPathIsTheBareName) {
  FolderManager manager;
  const std::string moved = Join(folder_.Path().string(), "Elsewhere");
  manager.SetPath(egsPath_Template, Join(manager.AbsolutePath(egsPath_QlxWSystem), "MyTemplates"));
  manager.SetPath(egsPath_QlxWSystem, moved, true);
  EXPECT_EQ(manager.StoredValue(egsPath_QlxWSystem), moved);
  EXPECT_EQ(manager.AbsolutePath(egsPath_Template), Join(moved, "MyTemplates"));
  EXPECT_EQ(manager.AbsolutePath(egsPath_Formatum), Join(moved, "Tablazatok/Formatum"));
  // Forced: stored unchanged, so it does not move with the system folder again.
  const std::string fixed = Join(moved, "Fixed");
  manager.SetPath(egsPath_Template, fixed, true);
  manager.SetPath(egsPath_QlxWSystem, Join(folder_.Path().string(), "Third"), true);
  EXPECT_EQ(manager.AbsolutePath(egsPath_Template), fixed);
  // An empty path takes the bare name until SetDefault.
  manager.SetPath(egsPath_Template, "");
  EXPECT_EQ(manager.AbsolutePath(egsPath_Template), "Sablonok");
  EXPECT_EQ(manager.SetDefault(egsPath_Template), Join(folder_.Path().string(), "Third/Sablonok"));
  EXPECT_EQ(manager.StoredValue(egsPath_Template), "<System>Sablonok");
}

// Definitions stored as given, a definition expanded, and what that gives: the path, error 71 naming
// the unconfigured variable, error 73 for an expansion that cannot end, or error 5.
TEST_F(FolderManagerTest, ExpansionFollowsVariablesAndFailsWithTheErrorOfItsKind) {
  using Definitions = std::vector<std::pair<std::int32_t, std::string>>;
  Definitions chain;  // every folder an alias of the next, the last a plain path: 15 hops from folder 1
  for (std::int32_t id = 1; id < 16; ++id) {
    chain.emplace_back(id, FolderManager().VariableOf(id + 1));
  }
  chain.emplace_back(16, "/end");
  const Definitions unconfigured = {{egsPath_QlxWSystem, "<System>"}};
  const std::string system71 = kUnconfigured + "<System> ";
  const std::int32_t failed = kLibErrNotInitialized;
  struct Case {
    Definitions stored;
    std::string expanded;
    std::int32_t number;
    std::string result;
  };
  for (const Case& c :
       {Case{chain, "<SaveFolder>", 0, "/end"}, Case{chain, "<Templates>", failed, kRing},
        Case{unconfigured, "<System>", failed, system71},
        Case{unconfigured, "<GoldenCrown>", failed, system71},
        Case{{{egsPath_QlxWSystem, "<System>"}, {egsPath_Temp, "<system>"}}, "<Temp>", failed, system71},
        Case{{{egsPath_Temp, "<QD>"}, {egsPath_QD, "<Temp>"}}, "<Temp>", failed, kRing},
        Case{{{egsPath_QlxWSystem, "<Templates>sub"}}, "<Templates>", failed, kRing},
        Case{{{egsPath_QlxWSystem, "<System>x"}}, "<Font25>", failed, kRing},
        Case{{}, "<system>abc", 0, Join(DefaultPath(egsPath_QlxWSystem), "abc")},
        Case{{}, "<TABLES>", 0, DefaultPath(egsPath_Tablazatok)}, Case{{}, "<<<", 0, "<<<"},
        Case{{}, "<Nowhere>x", kErrInvalidProcedureCall, ""},
        Case{{}, " <System> ", kErrInvalidProcedureCall, ""}}) {
    FolderManager manager;
    for (const auto& [id, definition] : c.stored) {
      manager.SetPath(id, definition, true);
    }
    std::string result;
    const LibError error = testing::Raised([&] { result = manager.Expand(c.expanded); });
    EXPECT_EQ(error.Number(), c.number) << c.expanded;
    if (c.number != kErrInvalidProcedureCall) {
      EXPECT_EQ(c.number == 0 ? result : error.Description(), c.result) << c.expanded;
    }
  }
}

TEST_F(FolderManagerTest, NumbersOutsideTheTableOrAFailingFolderFailAndChangeNothing) {
  FolderManager manager;
  for (const std::int32_t id : {0, 17, -1}) {
    for (const std::function<void()>& use : std::vector<std::function<void()>>{
             [&] { manager.SetPath(id, "x"); }, [&] { manager.SetPath(id, "x", true); },
             [&] { manager.AbsolutePath(id); }, [&] { manager.SetDefault(id); }}) {
      EXPECT_EQ(testing::ErrorNumberOf(use), kErrInvalidProcedureCall) << id;
    }
  }
  EXPECT_EQ(manager.Count(), 16);
  for (std::int32_t id = 1; id <= 16; ++id) {
    EXPECT_EQ(manager.AbsolutePath(id), DefaultPath(id));
  }
  // Making a path relative fails when another folder fails, and keeps the table.
  manager.SetPath(egsPath_QD, "<QD>", true);
  EXPECT_EQ(testing::ErrorNumberOf([&] { manager.SetPath(egsPath_Temp, Join(documents_, "t")); }),
            kLibErrNotInitialized);
  EXPECT_EQ(manager.StoredValue(egsPath_Temp), "<System>Temp");
}

TEST_F(FolderManagerTest, SavesExactlyTheThreeDefinitionsInOrderOnceThereIsAMainVersion) {
  FolderManager manager;
  EXPECT_EQ(testing::ErrorNumberOf([&] { manager.SaveToINI(); }), kLibErrNotInitialized);
  ConnectIni(5);
  manager.SaveToINI();
  EXPECT_EQ(IniText(),
            "[Folders]\r\nSaveFolder=<UserFolder>QLX_Mentések\r\nTemplates=<System>Sablonok\r\n"
            "Temp=<System>Temp\r\n");
}

// Stored as read, even what fails on use; a missing entry keeps the definition and is written back.
TEST_F(FolderManagerTest, LoadsDefinitionsAsStoredAndWritesBackMissingOnes) {
  ConnectIni(5);
  testing::WriteBytes(Ini(), platform::Utf8ToAnsi("[Folders]\r\nSaveFolder=<userfolder>Munkáim\r\n"
                                                  "Templates=<Templates>x\r\n"));
  {
    FolderManager manager;
    manager.LoadFromINI();
    EXPECT_EQ(manager.StoredValue(egsPath_SaveFolder), "<userfolder>Munkáim");
    EXPECT_EQ(manager.AbsolutePath(egsPath_SaveFolder), Join(documents_, "Munkáim"));
    EXPECT_EQ(manager.StoredValue(egsPath_Template), "<Templates>x");
    EXPECT_EQ(testing::ErrorNumberOf([&] { manager.AbsolutePath(egsPath_Template); }), kLibErrNotInitialized);
    EXPECT_EQ(manager.StoredValue(egsPath_Temp), "<System>Temp");
  }
  ResetLibraryState();  // the INI manager ends and writes the default it was asked for
  EXPECT_NE(IniText().find("Temp=<System>Temp"), std::string::npos) << IniText();
}

// A definition the manager's read would not give back whole (INIManager cuts at 254 characters,
// INIManager5 fails from 1024 on) is not written, and the reason is told; the other folders are saved.
// An empty entry read is the bare name only through the older manager.
TEST_F(FolderManagerTest, ADefinitionLongerThanTheReadTakesBackIsNotSavedAnEmptyOneIsTheBareName) {
  for (const auto& [mainVersion, longest] :
       {std::pair{4, std::size_t{254}}, std::pair{5, std::size_t{1023}}}) {
    Restart(mainVersion, "[Folders]\r\nTemp=\r\n");
    ClearProfileWriteError();
    FolderManager manager;
    manager.LoadFromINI();
    EXPECT_EQ(manager.StoredValue(egsPath_Temp), mainVersion == 4 ? "Temp" : "<System>Temp") << mainVersion;
    const std::string whole = "/" + std::string(longest - 1, 'x');
    manager.SetPath(egsPath_Template, whole, true);
    manager.SaveToINI();
    EXPECT_FALSE(LastProfileWriteError().Failed()) << mainVersion;
    manager.SetPath(egsPath_Template, whole + "y", true);
    manager.SetPath(egsPath_Temp, "/t", true);
    manager.SaveToINI();
    EXPECT_EQ(LastProfileWriteError().refusal, WriteRefusal::kTooLong) << mainVersion;
    manager.LoadFromINI();
    EXPECT_EQ(manager.StoredValue(egsPath_Template), whole) << mainVersion;
    EXPECT_EQ(manager.StoredValue(egsPath_Temp), "/t") << mainVersion;
  }
}

}  // namespace
}  // namespace qlxw
