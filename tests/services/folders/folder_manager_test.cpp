// Folder numbers, their keys and the folder manager: the default tree, relative storage, the
// expansion rules with their errors, and the "Folders" section of the INI file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
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

using testing::DescriptionOf;
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
}

TEST_F(KeysTest, NumbersWithoutARecordFailWithError5) {
  const Keys keys;
  for (const std::int32_t id : {17, -1, 100, static_cast<std::int32_t>(0x80000000u)}) {
    EXPECT_EQ(testing::ErrorNumberOf([&] { keys.Item(id); }), kErrInvalidProcedureCall) << id;
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
           : id == egsPath_UserFolder ? Documents()
                                      : CommonAppData();
  }
  std::string IniUtf8() const { return platform::AnsiToUtf8(IniText()); }

  const std::string kUnconfigured = "Az útvonal nincs konfigurálva : ";
  const std::string kRing = "Az útvonal kifejtése sikertelen!";
};

TEST_F(FolderManagerTest, AFreshManagerHoldsTheDefaultTree) {
  const FolderManager manager;
  EXPECT_EQ(manager.Count(), 16);
  for (std::int32_t id = 1; id <= 16; ++id) {
    EXPECT_EQ(manager.AbsolutePath(id), DefaultPath(id)) << FolderIdentifierName(id);
  }
  EXPECT_EQ(manager.StoredValue(egsPath_SaveFolder), "<UserFolder>QLX_Mentések");
  EXPECT_EQ(manager.StoredValue(egsPath_Template), "<System>Sablonok");
  EXPECT_EQ(manager.StoredValue(egsPath_Aranykorona), "<Tables>Aranykorona");
  EXPECT_EQ(manager.StoredValue(egsPath_QlxWSystem), "<WorkSpace>Rendszer");
  EXPECT_EQ(manager.VariableOf(egsPath_NONE), "");
  const auto serializables = FolderManager::GetSerializables();
  EXPECT_EQ(std::vector<std::int32_t>(serializables.begin(), serializables.end()),
            (std::vector<std::int32_t>{egsPath_SaveFolder, egsPath_Template, egsPath_Temp}));
}

TEST_F(FolderManagerTest, EnglishNamesWhenBuiltInEnglish) {
  ChangeUILanguage(kLangEnglishUK);
  const FolderManager manager;
  EXPECT_EQ(manager.AbsolutePath(egsPath_Aranykorona), Join(CommonAppData(), "SYSTEM/Tables/Golden crown"));
  EXPECT_EQ(manager.AbsolutePath(egsPath_SaveFolder), Join(Documents(), "QLX_Saves"));
}

// The folder set, the folder whose path the new one is written from, what follows that path (with '/'),
// and the definition expected (with '/').
TEST_F(FolderManagerTest, MakingRelativeTakesTheLongestBaseFolder) {
  for (const auto& [id, base, suffix, stored] :
       {std::tuple{egsPath_Template, egsPath_QlxWSystem, "/MyTemplates", "<System>MyTemplates"},
        std::tuple{egsPath_Template, egsPath_WorkSpace, "/Rendszer/a/b", "<System>a/b"},  // the longer base
        std::tuple{egsPath_SaveFolder, egsPath_Temp, "2/x", "<System>Temp2/x"},  // no separator after it
        std::tuple{egsPath_Template, egsPath_Tablazatok, "", "<Tables>"},        // equal to another folder
        std::tuple{egsPath_Template, egsPath_Font25, "/Sub", "<Font25>Sub"}}) {  // below a leaf folder
    FolderManager manager;
    const std::string path = manager.AbsolutePath(base) + Native(suffix);
    manager.SetPath(id, path);
    EXPECT_EQ(manager.StoredValue(id), Native(stored)) << path;
    EXPECT_EQ(manager.AbsolutePath(id), path);
  }
}

TEST_F(FolderManagerTest, MovingABaseFolderMovesTheFoldersBelowIt) {
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
}

TEST_F(FolderManagerTest, VariablesResolveInAnyLetterCaseAndEmptyPathsTakeTheBareName) {
  FolderManager manager;
  manager.SetPath(egsPath_Template, "<system>abc", true);
  EXPECT_EQ(manager.AbsolutePath(egsPath_Template), Join(DefaultPath(egsPath_QlxWSystem), "abc"));
  manager.SetPath(egsPath_Temp, "<TABLES>", true);
  EXPECT_EQ(manager.AbsolutePath(egsPath_Temp), DefaultPath(egsPath_Tablazatok));
  manager.SetPath(egsPath_Template, "");
  EXPECT_EQ(manager.StoredValue(egsPath_Template), "Sablonok");
  EXPECT_EQ(manager.AbsolutePath(egsPath_Template), "Sablonok");
  EXPECT_EQ(manager.SetDefault(egsPath_Template), DefaultPath(egsPath_Template));
  EXPECT_EQ(manager.StoredValue(egsPath_Template), "<System>Sablonok");
}

// Up to two definitions stored as given, the folder asked for, and what that gives: the variable left
// unconfigured (error 71), "ring" for an expansion that cannot end (error 73), or "" for error 5.
TEST_F(FolderManagerTest, BadDefinitionsFailWithTheErrorOfTheirKind) {
  constexpr std::int32_t kNone = egsPath_NONE;
  struct Case {
    std::int32_t id1;
    const char* definition1;
    std::int32_t id2;
    const char* definition2;
    std::int32_t asked;
    std::string failure;
  };
  for (const Case& c :
       {Case{egsPath_QlxWSystem, "<System>", kNone, "", egsPath_QlxWSystem, "<System>"},
        Case{egsPath_QlxWSystem, "<System>", kNone, "", egsPath_Aranykorona, "<System>"},
        Case{egsPath_QlxWSystem, "<System>", egsPath_Temp, "<system>", egsPath_Temp, "<System>"},
        Case{egsPath_Temp, "<QD>", egsPath_QD, "<Temp>", egsPath_Temp, "ring"},
        Case{egsPath_QlxWSystem, "<Templates>sub", kNone, "", egsPath_Template, "ring"},
        Case{egsPath_QlxWSystem, "<System>x", kNone, "", egsPath_Font25, "ring"},
        Case{egsPath_WorkSpace, "<Format>w", egsPath_Formatum, "<Tables>f", egsPath_Template, "ring"},
        Case{egsPath_Temp, "<Nowhere>x", kNone, "", egsPath_Temp, ""},
        Case{egsPath_Temp, " <System> ", kNone, "", egsPath_Temp, ""}}) {
    FolderManager manager;
    manager.SetPath(c.id1, c.definition1, true);
    if (c.id2 != kNone) {
      manager.SetPath(c.id2, c.definition2, true);
    }
    const LibError error = testing::Raised([&] { manager.AbsolutePath(c.asked); });
    SCOPED_TRACE(std::string(c.definition1) + " " + c.definition2);
    EXPECT_EQ(error.Number(), c.failure.empty() ? kErrInvalidProcedureCall : kLibErrNotInitialized);
    if (!c.failure.empty()) {
      EXPECT_EQ(error.Description(), c.failure == "ring" ? kRing : kUnconfigured + c.failure + " ");
    }
  }
}

TEST_F(FolderManagerTest, NumbersOutsideTheTableFailWithError5AndChangeNothing) {
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
}

TEST_F(FolderManagerTest, MakingRelativeFailsWhenAnotherFolderFailsAndKeepsTheTable) {
  FolderManager manager;
  manager.SetPath(egsPath_QD, "<QD>", true);
  EXPECT_EQ(testing::ErrorNumberOf([&] { manager.SetPath(egsPath_Temp, Join(Documents(), "t")); }),
            kLibErrNotInitialized);
  EXPECT_EQ(manager.StoredValue(egsPath_Temp), "<System>Temp");
}

// Whatever a host or an INI file stores, every path either resolves or fails with an error.
TEST_F(FolderManagerTest, NoDefinitionHangsOrCrashes) {
  std::mt19937 random(20261206);
  const std::vector<std::string> pieces = {"<System>", "<templates>", "<Temp>", "<QD>", "<WorkSpace>",
                                           "<Tables>", "<Nope>",      "x",      "",     "<",
                                           ">",        "<>",          " ",      "/",    "<<Temp>>"};
  for (int round = 0; round < 300; ++round) {
    FolderManager manager;
    for (int change = 0; change < 4; ++change) {
      std::string definition;
      for (std::uint32_t i = random() % 4; i > 0; --i) {
        definition += pieces[random() % pieces.size()];
      }
      manager.SetPath(static_cast<std::int32_t>(random() % 16 + 1), definition, true);
    }
    for (std::int32_t id = 1; id <= 16; ++id) {
      const std::int32_t error = testing::ErrorNumberOf([&] { manager.AbsolutePath(id); });
      EXPECT_TRUE(error == 0 || error == kLibErrNotInitialized || error == kErrInvalidProcedureCall) << error;
    }
  }
}

TEST_F(FolderManagerTest, SavesExactlyTheThreeDefinitionsInOrderOnceThereIsAMainVersion) {
  FolderManager manager;
  EXPECT_EQ(testing::ErrorNumberOf([&] { manager.SaveToINI(); }), kLibErrNotInitialized);
  ConnectIni(5);
  manager.SaveToINI();
  EXPECT_EQ(IniUtf8(),
            "[Folders]\r\nSaveFolder=<UserFolder>QLX_Mentések\r\nTemplates=<System>Sablonok\r\n"
            "Temp=<System>Temp\r\n");
}

TEST_F(FolderManagerTest, LoadsDefinitionsAsStoredAndWritesBackMissingOnes) {
  ConnectIni(5);
  testing::WriteBytes(Ini(), platform::Utf8ToAnsi("[Folders]\r\nSaveFolder=<userfolder>Munkáim\r\n"
                                                  "Templates=" +
                                                  Join(folder_.Path().string(), "T") + "\r\n"));
  {
    FolderManager manager;
    manager.LoadFromINI();
    EXPECT_EQ(manager.StoredValue(egsPath_SaveFolder), "<userfolder>Munkáim");
    EXPECT_EQ(manager.AbsolutePath(egsPath_SaveFolder), Join(Documents(), "Munkáim"));
    EXPECT_EQ(manager.AbsolutePath(egsPath_Template), Join(folder_.Path().string(), "T"));
    EXPECT_EQ(manager.StoredValue(egsPath_Temp), "<System>Temp");
  }
  ResetLibraryState();  // the INI manager ends and writes the default it was asked for
  EXPECT_NE(IniUtf8().find("Temp=<System>Temp"), std::string::npos) << IniUtf8();
}

TEST_F(FolderManagerTest, AnEmptyEntryIsTheBareNameOnlyThroughTheOlderManager) {
  for (const std::int32_t mainVersion : {4, 5}) {
    SCOPED_TRACE(mainVersion);
    ResetLibraryState();
    ChangeUILanguage(kLangHungarian);
    std::remove(Ini().c_str());
    ConnectIni(mainVersion);
    testing::WriteBytes(Ini(), "[Folders]\r\nTemp=\r\n");
    FolderManager manager;
    manager.LoadFromINI();
    EXPECT_EQ(manager.StoredValue(egsPath_Temp), mainVersion == 4 ? "Temp" : "<System>Temp");
  }
}

// A definition the manager's read would not give back whole (INIManager cuts at 254 characters,
// INIManager5 fails from 1024 on) is not written, and the reason is told; the other folders are saved.
TEST_F(FolderManagerTest, ADefinitionLongerThanTheReadTakesBackIsNotSaved) {
  for (const auto& [mainVersion, longest] :
       {std::pair{4, std::size_t{254}}, std::pair{5, std::size_t{1023}}}) {
    ResetLibraryState();
    std::remove(Ini().c_str());
    ConnectIni(mainVersion);
    ClearProfileWriteError();
    FolderManager manager;
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

TEST_F(FolderManagerTest, HostileEntriesFailOnUseNotOnLoad) {
  ConnectIni(5);
  testing::WriteBytes(Ini(), "[Folders]\r\nTemplates=<Templates>x\r\nTemp=<Temp>\r\nSaveFolder=<<<\r\n");
  FolderManager manager;
  manager.LoadFromINI();
  EXPECT_EQ(testing::ErrorNumberOf([&] { manager.AbsolutePath(egsPath_Template); }), kLibErrNotInitialized);
  EXPECT_EQ(DescriptionOf([&] { manager.AbsolutePath(egsPath_Temp); }), kUnconfigured + "<Temp> ");
  EXPECT_EQ(manager.AbsolutePath(egsPath_SaveFolder), "<<<");
}

}  // namespace
}  // namespace qlxw
