// The folder controllers: FSCReplacer over the folder manager, the legacy clsFSCOld with its table
// below the program folder and its stored folders, and clsFileSystemController choosing between them.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "api/file_system_controller.h"
#include "config/ini_file.h"
#include "errors/lib_error.h"
#include "folders/create_folders.h"
#include "folders/folder_settings_store.h"
#include "folders/fsc_old.h"
#include "folders/fsc_replacer.h"
#include "os/file_system.h"
#include "tests/support/folder_test_support.h"

namespace qlxw {
namespace {

using testing::DescriptionOf;
using testing::FolderExists;
using testing::Join;
using testing::Native;

const std::string kTime = "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]";

// ---- creating folders ----------------------------------------------------------------------------

using CreateFolderTest = testing::FolderTest;

TEST_F(CreateFolderTest, CreatesEveryMissingLevelUnderItsWholeNameOrNamesTheLevelThatFailed) {
  const std::string deep = Join(folder_.Path().string(), "a/data.old/c");
  BruteForceCreateDir(deep);
  EXPECT_TRUE(FolderExists(deep));
  EXPECT_TRUE(FolderExists(Join(folder_.Path().string(), "a/data.old")));
  BruteForceCreateDir(deep);  // there already: nothing to do
  CreateDirTraced(Join(deep, "d"), "clsFSCOld");
  EXPECT_TRUE(FolderExists(Join(deep, "d")));
  // A failure names the level that failed; the file-system object's errors name no source, and take
  // the walk's. An error with a source and a help reference keeps both.
  const std::string file = Join(folder_.Path().string(), "file");
  testing::WriteBytes(file, "not a folder");
  const LibError error = testing::Raised([&] { BruteForceCreateDir(Join(file, "x/y")); });
  EXPECT_EQ(error.Number(), 58);
  EXPECT_EQ(error.Description(), "File already exists [folder:" + file + "] ");
  EXPECT_EQ(error.Source(), "modCommon");
  const LibError kept =
      FolderCreationError(LibError(70, "Denied", "Host", {"host.chm", 7}), "f", "modCommon");
  EXPECT_EQ(std::make_tuple(kept.Number(), kept.Description(), kept.Source(), kept.Help().file,
                            kept.Help().context),
            std::make_tuple(70, std::string("Denied [folder:f] "), std::string("Host"),
                            std::string("host.chm"), 7));
}

#ifdef _WIN32
TEST_F(CreateFolderTest, AMissingDriveEndsTheWalkAtItsRoot) {
  EXPECT_EQ(testing::ErrorNumberOf([&] { BruteForceCreateDir("Q:\\nowhere\\x"); }), kErrPathNotFound);
}
#endif

// ---- FSCReplacer -----------------------------------------------------------------------------------

using FSCReplacerTest = testing::FolderTest;

TEST_F(FSCReplacerTest, AFolderAskedForIsCreatedALetIsStoredAsGivenAndSetDefaultsForgetsIt) {
  FSCReplacer controller;
  const std::string temp = controller.QlxWFolders(egsPath_Temp);
  EXPECT_EQ(temp, Join(appData_, "Rendszer/Temp"));
  EXPECT_TRUE(FolderExists(temp));
  EXPECT_EQ(controller.QlxWFolders(egsPath_Temp), temp);
  EXPECT_EQ(controller.SaveFolder(), Join(documents_, "QLX_Mentések"));
  EXPECT_TRUE(FolderExists(Join(documents_, "QLX_Mentések")));
  // One that cannot be created is returned all the same.
  const std::string file = Join(folder_.Path().string(), "file");
  testing::WriteBytes(file, "x");
  controller.QlxWFolders(egsPath_Temp, Join(file, "Temp"));
  EXPECT_EQ(controller.QlxWFolders(egsPath_Temp), Join(file, "Temp"));
  // A let is stored as given; SetDefaults forgets it.
  const std::string system = controller.QlxWFolders(egsPath_QlxWSystem);
  const std::string mine = Join(system, "Mine");
  controller.QlxWFolders(egsPath_Template, mine);
  EXPECT_EQ(controller.Manager().StoredValue(egsPath_Template), mine);
  controller.SetDefaults();
  EXPECT_EQ(controller.QlxWFolders(egsPath_Template), Join(system, "Sablonok"));
  controller.QlxWFolders(egsPath_Template, mine);
  controller.SetDefaultForIx(egsPath_Template);
  EXPECT_EQ(controller.QlxWFolders(egsPath_Template), Join(system, "Sablonok"));
}

TEST_F(FSCReplacerTest, SaveAndRefreshGoThroughTheIniFileTheHelpFileIsBelowTheHelpFolder) {
  ConnectIni(5);
  FSCReplacer controller;
  const std::string mine = Join(folder_.Path().string(), "Saved");
  controller.QlxWFolders(egsPath_SaveFolder, mine);
  controller.SaveToRegistry();
  controller.SetDefaults();
  EXPECT_EQ(controller.SaveFolder(), Join(documents_, "QLX_Mentések"));
  controller.Refresh();
  EXPECT_EQ(controller.SaveFolder(), mine);
  EXPECT_NE(IniText().find("SaveFolder=" + mine), std::string::npos);
  // The help file is below the help folder, or nothing.
  const std::string help = Join(appData_, "Rendszer/Help");
  EXPECT_EQ(controller.QlxWHelpFileName(), Join(help, "QLX3_Help.chm"));
  EXPECT_EQ(controller.QlxWHelpFileName(true, false),
            Join(help, "") + Native("/") + "QLX3_Help.chm::/CSQLX3_Help.txt");
  EXPECT_TRUE(FolderExists(help));
  // An unresolvable help folder gives nothing and tells the user only when asked to.
  controller.QlxWFolders(egsPath_Help, "<Help>");
  EXPECT_EQ(controller.QlxWHelpFileName(true, false), "");
  EXPECT_TRUE(notices_.notices.empty());
  EXPECT_EQ(controller.QlxWHelpFileName(false, true), "");
  EXPECT_EQ(notices_.notices, std::vector<std::string>{"QlxWCommon: A helpfájl megnyitása nem sikerült!"});
  EXPECT_EQ(testing::ErrorNumberOf([&] { controller.QlxWFolders(egsPath_Help); }), kLibErrNotInitialized);
  EXPECT_EQ(testing::ErrorNumberOf([&] { controller.QlxWFolders(17); }), kErrInvalidProcedureCall);
}

// ---- clsFSCOld -------------------------------------------------------------------------------------

class LegacyControllerTest : public testing::FolderTest {
 protected:
  std::string Program() const { return Join(folder_.Path().string(), "Program"); }
  std::string System() const { return Join(Program(), "Rendszer"); }
  // A legacy controller below a program folder that exists.
  void Start(clsFSCOld& controller) const {
    BruteForceCreateDir(Program());
    controller.QlxWFolders(egsPath_Program, Program());
  }
};

// A program folder that does not exist changes nothing; one that does gets the folders below it, but QD.
TEST_F(LegacyControllerTest, SettingTheProgramFolderCreatesTheFoldersBelowItButNotQD) {
  clsFSCOld controller;
  controller.QlxWFolders(egsPath_Program, Program());
  EXPECT_EQ(LegacyFolderPath(egsPath_Program), "");
  EXPECT_FALSE(FolderExists(Program()));
  controller.QlxWFolders(0, folder_.Path().string());
  controller.QlxWFolders(16, folder_.Path().string());
  EXPECT_EQ(controller.QlxWFolders(egsPath_NONE), "");
  EXPECT_EQ(controller.QlxWFolders(egsPath_WorkSpace), "");
  EXPECT_EQ(controller.DefaultWorkspaceRoot(), "");
  Start(controller);
  for (const char* below : {"Font25", "Tablazatok", "Tablazatok/Aranykorona", "Tablazatok/Teruletszamitas",
                            "Tablazatok/Formatum/1038", "Alap_allomanyok", "Temp", "Nyomtatvany", "Help"}) {
    EXPECT_TRUE(FolderExists(Join(System(), below))) << below;
  }
  EXPECT_FALSE(FolderExists(Join(System(), "Sablonok")));
  EXPECT_EQ(LegacyFolderPath(egsPath_UserFolder), documents_);
  EXPECT_EQ(LegacyFolderPath(egsPath_Template), "");
  EXPECT_EQ(LegacyFolderPath(egsPath_SaveFolder), "");
  EXPECT_EQ(LegacyFolderPath(egsPath_Formatum), Join(System(), "Tablazatok/Formatum/1038"));
  EXPECT_EQ(controller.QlxWFolders(egsPath_QD), Join(System(), "QD"));
  EXPECT_FALSE(FolderExists(Join(System(), "QD")));
  EXPECT_EQ(controller.QlxWHelpFileName(true), Join(System(), "Help/") + "QLX3_Help.chm::/CSQLX3_Help.txt");
}

// Below the program, and stored, without a documents folder (the Windows shell may have one).
TEST_F(LegacyControllerTest, TheSaveFolderIsTheDocumentsFolderElseBelowTheProgram) {
  if (!FolderExists(documents_)) {
    clsFSCOld controller;
    Start(controller);
    EXPECT_EQ(controller.SaveFolder(), Join(Program(), "Mentések"));
    EXPECT_EQ(LoadFolderSetting("gsPath_SaveFolder"), Join(Program(), "Mentések"));
    SaveFolderSetting("gsPath_SaveFolder", "");
    ResetLibraryState();
    ChangeUILanguage(kLangHungarian);
  }
  BruteForceCreateDir(documents_);
  clsFSCOld controller;
  Start(controller);
  EXPECT_EQ(controller.SaveFolder(), documents_);
  EXPECT_EQ(LoadFolderSetting("gsPath_SaveFolder"), "");
}

// Made and stored on first read, also over a stored folder that is missing.
TEST_F(LegacyControllerTest, AStoredFolderThatIsMissingIsReplacedAndStoredOver) {
  SaveFolderSetting("gsPath_Template", Join(folder_.Path().string(), "Gone"));
  clsFSCOld controller;
  Start(controller);
  EXPECT_EQ(controller.QlxWFolders(egsPath_Template), Join(System(), "Sablonok"));
  EXPECT_TRUE(FolderExists(Join(System(), "Sablonok")));
  EXPECT_EQ(LoadFolderSetting("gsPath_Template"), Join(System(), "Sablonok"));
  const std::string kept = Join(folder_.Path().string(), "Kept");
  BruteForceCreateDir(kept);
  SaveFolderSetting("gsPath_Template", kept);
  controller.Refresh();
  EXPECT_EQ(controller.QlxWFolders(egsPath_Template), kept);
}

// A template folder equal to the save folder is recomputed; SetDefaults recomputes in the current
// language without touching the store.
TEST_F(LegacyControllerTest, RecomputedWhenEqualOrByDefaultsInTheCurrentLanguage) {
  clsFSCOld controller;
  Start(controller);
  const std::string templates = controller.QlxWFolders(egsPath_Template);
  controller.QlxWFolders(egsPath_SaveFolder, templates);
  EXPECT_EQ(controller.SaveFolder(), FolderExists(documents_) ? documents_ : Join(Program(), "Mentések"));
  const std::string other = Join(folder_.Path().string(), "Other");
  BruteForceCreateDir(other);
  controller.QlxWFolders(egsPath_Template, other);
  controller.SaveToRegistry();
  EXPECT_EQ(LoadFolderSetting("gsPath_Template"), other);
  controller.SetDefaults();
  EXPECT_EQ(LegacyFolderPath(egsPath_Template), Join(System(), "Sablonok"));
  EXPECT_EQ(LoadFolderSetting("gsPath_Template"), other);
  controller.SetDefaultForIx(egsPath_Font25);
  EXPECT_EQ(LegacyFolderPath(egsPath_Font25), Join(System(), "Font25"));
  ChangeUILanguage(kLangEnglishUK);  // the names follow the current language
  controller.SetDefaults();
  EXPECT_EQ(LegacyFolderPath(egsPath_Aranykorona), Join(Program(), "System/Tables/GoldenCrown"));
}

TEST_F(LegacyControllerTest, ACreationFailureCarriesItsFolderAndTheHelpFileTellsTheUser) {
  BruteForceCreateDir(Program());
  testing::WriteBytes(System(), "a file where the system folder goes");
  clsFSCOld controller;
  // The let itself fails: setting the program folder computes the folders below it.
  EXPECT_EQ(testing::ErrorNumberOf([&] { controller.QlxWFolders(egsPath_Program, Program()); }), 58);
  EXPECT_EQ(LegacyFolderPath(egsPath_Program), Program());
  const LibError error = testing::Raised([&] { controller.QlxWFolders(egsPath_Help); });
  EXPECT_EQ(error.Number(), 58);
  EXPECT_EQ(error.Description(), "File already exists [folder:" + System() + "] ");
  EXPECT_EQ(error.Source(), "clsFSCOld");
  EXPECT_EQ(controller.QlxWHelpFileName(false, false), "");
  EXPECT_TRUE(notices_.notices.empty());
  EXPECT_EQ(controller.QlxWHelpFileName(true, true), "");
  EXPECT_EQ(notices_.notices, std::vector<std::string>{"Hiba: A helpfájl megnyitása nem sikerült!"});
}

// ---- clsFileSystemController -----------------------------------------------------------------------

using ControllerChoiceTest = testing::FolderTest;

// Main version, the INI file's text, the controller chosen, the beeps, and the FolderControl trace
// lines of three calls: the choice traced (not from 5 on), every later call traced as disabled.
TEST_F(ControllerChoiceTest, ChosenByMainVersionAndTheSwitchOnce) {
  const std::regex line("\"clsFileSystemObject\\.FolderControl (started|disabled) (.*) " + kTime + "\"\r\n");
  for (const auto& [version, ini, chosen, beeps, traced] :
       {std::tuple{5, "", "FSCReplacer", 0, "disabled disabled"},
        std::tuple{4, "[setup]\r\nFolderControl=true\r\n", "FSCReplacer", 0, "started disabled disabled"},
        std::tuple{4, "[setup]\r\nFolderControl=false\r\n", "clsFSCOld", 3, "disabled disabled disabled"},
        std::tuple{-1, "", "clsFSCOld", 3, "disabled disabled disabled"}}) {
    Restart(version, ini);
    notices_.beeps = 0;
    const std::string text = testing::TraceOf(folder_.File("trace.log"), [] {
      clsFileSystemController controller;
      EXPECT_EQ(controller.gcAW2FileExt(), "aw2");
      EXPECT_EQ(controller.gcIBNFileExt(), "ibn");
    });
    EXPECT_EQ(FolderControllerName(), chosen) << version << ini;
    EXPECT_EQ(notices_.beeps, beeps) << version << ini;
    std::string lines;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator(); ++it) {
      lines += (lines.empty() ? "" : " ") + (*it)[1].str();
      EXPECT_EQ((*it)[2].str(), Ini());
    }
    EXPECT_EQ(lines, traced) << version << ini << text;
  }
}

// A controller chooses when it ends even if never used; the choice holds for the thread, and a missing
// switch is written back off.
TEST_F(ControllerChoiceTest, TheChoiceHoldsForTheThreadAndAMissingSwitchIsWrittenBackOff) {
  ConnectIni(4);
  { const clsFileSystemController unused; }
  SetMainVer(5);
  SetFolderControllerOnce(std::make_shared<FSCReplacer>());
  EXPECT_EQ(FolderControllerName(), "clsFSCOld");
  ResetLibraryState();
  EXPECT_NE(IniText().find("[setup]\r\nFolderControl=false"), std::string::npos) << IniText();
}

TEST_F(ControllerChoiceTest, NoMainVersionFailsAndChoosesNothingFrom5OnTheFolderManagerWithoutAnIni) {
  clsFileSystemController controller;
  EXPECT_EQ(testing::ErrorNumberOf([&] { controller.QlxWFolders(egsPath_Temp); }), kLibErrNotInitialized);
  EXPECT_EQ(DescriptionOf([&] { controller.Refresh(); }), "Main version not initialized!");
  EXPECT_EQ(GetFolderController(), nullptr);
  EXPECT_EQ(controller.DefaultUserFolder(), documents_);  // chooses nothing
  EXPECT_EQ(GetFolderController(), nullptr);
  controller.TearDown();  // reports nothing
  SetMainVer(6);
  EXPECT_EQ(controller.gcQLX25FileExt(), "gdb");
  EXPECT_EQ(FolderControllerName(), "FSCReplacer");
  // From 5 on the default folders come from a fresh manager; no INI file is needed.
  EXPECT_EQ(controller.QlxWFolders(egsPath_Temp), Join(appData_, "Rendszer/Temp"));
  controller.QlxWFolders(egsPath_WorkSpace, Join(folder_.Path().string(), "Configured"));
  EXPECT_EQ(controller.DefaultWorkspaceRoot(), appData_);
}

TEST_F(ControllerChoiceTest, TheLegacyControllerIsTraced) {
  ConnectIni(4);
  const std::string text = testing::TraceOf(folder_.File("trace.log"), [&] {
    clsFileSystemController controller;
    controller.QlxWFolders(egsPath_Program, folder_.Path().string());
    EXPECT_EQ(controller.QlxWFolders(egsPath_NONE), "");
  });
  for (const std::string& pattern : std::vector<std::string>{
           "\"clsFileSystemController\\.Class_Initialize >> " + kTime + "\"\r\n",
           "\"clsFileSystemController\\.Class_Initialize ml_RuntimeSupport\\.LanguageID= 1038\"\r\n",
           "\"clsFileSystemController\\.Let QlxWFolders>> 3 " + kTime + "\"\r\n",
           "\"EnumFoldersPaths\\.egsPath_Formatum\"\r\n\"" +
               testing::Quoted(Join(folder_.Path().string(), "Rendszer")) + "[^\"]*1038\"\r\n",
           "\"Common\\.CreateDir >> : [^\"]*Rendszer\"\r\n",
           "\"clsFileSystemController\\.Get QlxWFolders>> index: 0 id[^:]*: " + kTime + "\"\r\n"}) {
    EXPECT_TRUE(std::regex_search(text, std::regex(pattern))) << pattern << "\n" << text;
  }
}

}  // namespace
}  // namespace qlxw
