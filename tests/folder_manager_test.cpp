// Folder numbers, their keys and the folder manager: the default tree, relative storage, the
// expansion rules with their errors, and the "Folders" section of the INI file.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "config/ini_file.h"
#include "errors/lib_error.h"
#include "folder_test_support.h"
#include "folders/folder_manager.h"
#include "folders/keys.h"
#include "language/language_runtime.h"
#include "os/codepage.h"

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
};

// In the order of enumeration.
const std::vector<KeyCase> kKeyCases = {
    {10, "BaseFiles", "Alap_allomanyok", "Core_files"},
    {7, "GoldenCrown", "Aranykorona", "Golden crown"},
    {5, "Font25", "Font25", "Font25"},
    {9, "Format", "Formatum", "Format"},
    {14, "Help", "Help", "Help"},
    {4, "System", "Rendszer", "SYSTEM"},
    {13, "BroadSheets", "Nyomtatvany", "Blank_document"},
    {15, "Program", "Program", "Program"},
    {12, "QD", "QD", "QD"},
    {2, "SaveFolder", "QLX_Mentések", "QLX_Saves"},
    {6, "Tables", "Tablazatok", "Tables"},
    {11, "Temp", "Temp", "Temp"},
    {1, "Templates", "Sablonok", "Templates"},
    {8, "AreaCalculation", "Teruletszamitas", "Area_Calculation"},
    {3, "UserFolder", "UserFolder", "UserFolder"},
    {16, "WorkSpace", "QLX_Munka", "QLX_WorkSpace"},
    {0, "None", "", ""},
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
  // The default tree in Hungarian, worked out here from its three roots.
  std::map<std::int32_t, std::string> DefaultPaths() const {
    std::map<std::int32_t, std::string> paths;
    paths[egsPath_Program] = platform::LibraryFolder();
    paths[egsPath_UserFolder] = Documents();
    paths[egsPath_WorkSpace] = CommonAppData();
    paths[egsPath_QlxWSystem] = Join(paths[egsPath_WorkSpace], "Rendszer");
    const std::string& system = paths[egsPath_QlxWSystem];
    paths[egsPath_Alap_Allomanyok] = Join(system, "Alap_allomanyok");
    paths[egsPath_Font25] = Join(system, "Font25");
    paths[egsPath_Help] = Join(system, "Help");
    paths[egsPath_Nyomtatvany] = Join(system, "Nyomtatvany");
    paths[egsPath_QD] = Join(system, "QD");
    paths[egsPath_Tablazatok] = Join(system, "Tablazatok");
    paths[egsPath_Temp] = Join(system, "Temp");
    paths[egsPath_Template] = Join(system, "Sablonok");
    paths[egsPath_Aranykorona] = Join(paths[egsPath_Tablazatok], "Aranykorona");
    paths[egsPath_Formatum] = Join(paths[egsPath_Tablazatok], "Formatum");
    paths[egsPath_Teruletszamitas] = Join(paths[egsPath_Tablazatok], "Teruletszamitas");
    paths[egsPath_SaveFolder] = Join(paths[egsPath_UserFolder], "QLX_Mentések");
    return paths;
  }

  const std::string kUnconfigured = "Az útvonal nincs konfigurálva : ";
  const std::string kRing = "Az útvonal kifejtése sikertelen!";
};

TEST_F(FolderManagerTest, AFreshManagerHoldsTheDefaultTree) {
  const FolderManager manager;
  EXPECT_EQ(manager.Count(), 16);
  for (const auto& [id, path] : DefaultPaths()) {
    EXPECT_EQ(manager.AbsolutePath(id), path) << FolderIdentifierName(id);
  }
  EXPECT_EQ(manager.StoredValue(egsPath_SaveFolder), "<UserFolder>QLX_Mentések");
  EXPECT_EQ(manager.StoredValue(egsPath_Template), "<System>Sablonok");
  EXPECT_EQ(manager.StoredValue(egsPath_Temp), "<System>Temp");
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

struct RelativeCase {
  const char* name;
  std::int32_t id;
  std::int32_t base;   // the folder whose path the new one is written from
  const char* suffix;  // after the base folder's path, with '/'
  const char* stored;  // the definition expected, with '/'
};

class MakeRelativeTest : public FolderManagerTest, public ::testing::WithParamInterface<RelativeCase> {};

TEST_P(MakeRelativeTest, StoresThePathThroughItsLongestBaseFolder) {
  const RelativeCase& c = GetParam();
  FolderManager manager;
  const std::string path = manager.AbsolutePath(c.base) + Native(c.suffix);
  manager.SetPath(c.id, path);
  EXPECT_EQ(manager.StoredValue(c.id), Native(c.stored));
  EXPECT_EQ(manager.AbsolutePath(c.id), path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakeRelativeTest,
    ::testing::Values(
        RelativeCase{"BelowTheSystemFolder", egsPath_Template, egsPath_QlxWSystem, "/MyTemplates",
                     "<System>MyTemplates"},
        RelativeCase{"TheLongerOfTwoBases", egsPath_Template, egsPath_WorkSpace, "/Rendszer/a/b",
                     "<System>a/b"},
        RelativeCase{"NoSeparatorAfterTheBase", egsPath_SaveFolder, egsPath_Temp, "2/x", "<System>Temp2/x"},
        RelativeCase{"EqualToAnotherFolder", egsPath_Template, egsPath_Tablazatok, "", "<Tables>"},
        RelativeCase{"BelowALeafFolder", egsPath_Template, egsPath_Font25, "/Sub", "<Font25>Sub"}),
    [](const ::testing::TestParamInfo<RelativeCase>& param) { return std::string(param.param.name); });

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
  EXPECT_EQ(manager.AbsolutePath(egsPath_Template), Join(DefaultPaths()[egsPath_QlxWSystem], "abc"));
  manager.SetPath(egsPath_Temp, "<TABLES>", true);
  EXPECT_EQ(manager.AbsolutePath(egsPath_Temp), DefaultPaths()[egsPath_Tablazatok]);
  manager.SetPath(egsPath_Template, "");
  EXPECT_EQ(manager.StoredValue(egsPath_Template), "Sablonok");
  EXPECT_EQ(manager.AbsolutePath(egsPath_Template), "Sablonok");
  EXPECT_EQ(manager.SetDefault(egsPath_Template), DefaultPaths()[egsPath_Template]);
  EXPECT_EQ(manager.StoredValue(egsPath_Template), "<System>Sablonok");
}

// Up to two definitions stored as given, the folder asked for, and what that gives: the variable left
// unconfigured (error 71), "ring" for an expansion that cannot end (error 73), or "" for error 5.
struct BadDefinitionCase {
  const char* name;
  std::int32_t id1;
  const char* definition1;
  std::int32_t id2;
  const char* definition2;
  std::int32_t asked;
  std::string failure;
};

class BadDefinitionTest : public FolderManagerTest,
                          public ::testing::WithParamInterface<BadDefinitionCase> {};

TEST_P(BadDefinitionTest, FailsWithTheErrorOfItsKind) {
  const BadDefinitionCase& c = GetParam();
  FolderManager manager;
  manager.SetPath(c.id1, c.definition1, true);
  if (c.id2 != egsPath_NONE) {
    manager.SetPath(c.id2, c.definition2, true);
  }
  EXPECT_EQ(testing::ErrorNumberOf([&] { manager.AbsolutePath(c.asked); }),
            c.failure.empty() ? kErrInvalidProcedureCall : kLibErrNotInitialized);
  if (!c.failure.empty()) {
    EXPECT_EQ(DescriptionOf([&] { manager.AbsolutePath(c.asked); }),
              c.failure == "ring" ? kRing : kUnconfigured + c.failure + " ");
  }
}

constexpr std::int32_t kNone = egsPath_NONE;

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDefinitionTest,
    ::testing::Values(
        BadDefinitionCase{"UnconfiguredItself", egsPath_QlxWSystem, "<System>", kNone, "", egsPath_QlxWSystem,
                          "<System>"},
        BadDefinitionCase{"UnconfiguredBelow", egsPath_QlxWSystem, "<System>", kNone, "", egsPath_Template,
                          "<System>"},
        BadDefinitionCase{"UnconfiguredTwoDown", egsPath_QlxWSystem, "<System>", kNone, "",
                          egsPath_Aranykorona, "<System>"},
        BadDefinitionCase{"UnconfiguredThroughOtherCase", egsPath_QlxWSystem, "<System>", egsPath_Temp,
                          "<system>", egsPath_Temp, "<System>"},
        BadDefinitionCase{"AliasRing", egsPath_Temp, "<QD>", egsPath_QD, "<Temp>", egsPath_Temp, "ring"},
        BadDefinitionCase{"RingThroughARemainder", egsPath_QlxWSystem, "<Templates>sub", kNone, "",
                          egsPath_Template, "ring"},
        BadDefinitionCase{"SelfThroughARemainder", egsPath_QlxWSystem, "<System>x", kNone, "", egsPath_Font25,
                          "ring"},
        BadDefinitionCase{"LongRingThroughRemainders", egsPath_WorkSpace, "<Format>w", egsPath_Formatum,
                          "<Tables>f", egsPath_Template, "ring"},
        BadDefinitionCase{"UnknownVariable", egsPath_Temp, "<Nowhere>x", kNone, "", egsPath_Temp, ""},
        BadDefinitionCase{"BlanksAroundAVariable", egsPath_Temp, " <System> ", kNone, "", egsPath_Temp, ""}),
    [](const ::testing::TestParamInfo<BadDefinitionCase>& param) { return std::string(param.param.name); });

TEST_F(FolderManagerTest, NumbersOutsideTheTableFailWithError5AndChangeNothing) {
  FolderManager manager;
  for (const std::int32_t id : {0, 17, -1}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(testing::ErrorNumberOf([&] { manager.SetPath(id, "x"); }), kErrInvalidProcedureCall);
    EXPECT_EQ(testing::ErrorNumberOf([&] { manager.SetPath(id, "x", true); }), kErrInvalidProcedureCall);
    EXPECT_EQ(testing::ErrorNumberOf([&] { manager.AbsolutePath(id); }), kErrInvalidProcedureCall);
    EXPECT_EQ(testing::ErrorNumberOf([&] { manager.SetDefault(id); }), kErrInvalidProcedureCall);
  }
  EXPECT_EQ(manager.Count(), 16);
  for (const auto& [id, path] : DefaultPaths()) {
    EXPECT_EQ(manager.AbsolutePath(id), path);
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
      try {
        manager.AbsolutePath(id);
      } catch (const LibError& error) {
        EXPECT_TRUE(error.Number() == kLibErrNotInitialized || error.Number() == kErrInvalidProcedureCall);
      }
    }
  }
}

class FolderManagerIniTest : public FolderManagerTest {
 protected:
  std::string IniUtf8() const { return platform::AnsiToUtf8(IniText()); }
};

TEST_F(FolderManagerIniTest, SavesExactlyTheThreeDefinitionsInOrder) {
  ConnectIni(5);
  FolderManager manager;
  manager.SaveToINI();
  EXPECT_EQ(IniUtf8(),
            "[Folders]\r\nSaveFolder=<UserFolder>QLX_Mentések\r\nTemplates=<System>Sablonok\r\n"
            "Temp=<System>Temp\r\n");
}

TEST_F(FolderManagerIniTest, LoadsDefinitionsAsStoredAndWritesBackMissingOnes) {
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

TEST_F(FolderManagerIniTest, AnEmptyEntryIsTheBareNameOnlyThroughTheOlderManager) {
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

TEST_F(FolderManagerIniTest, HostileEntriesFailOnUseNotOnLoad) {
  ConnectIni(5);
  testing::WriteBytes(Ini(), "[Folders]\r\nTemplates=<Templates>x\r\nTemp=<Temp>\r\nSaveFolder=<<<\r\n");
  FolderManager manager;
  manager.LoadFromINI();
  EXPECT_EQ(testing::ErrorNumberOf([&] { manager.AbsolutePath(egsPath_Template); }), kLibErrNotInitialized);
  EXPECT_EQ(DescriptionOf([&] { manager.AbsolutePath(egsPath_Temp); }), kUnconfigured + "<Temp> ");
  EXPECT_EQ(manager.AbsolutePath(egsPath_SaveFolder), "<<<");
}

TEST_F(FolderManagerIniTest, SavingNeedsTheMainVersion) {
  FolderManager manager;
  EXPECT_EQ(testing::ErrorNumberOf([&] { manager.SaveToINI(); }), kLibErrNotInitialized);
}

}  // namespace
}  // namespace qlxw
