// qlxw folders as scripts use it: a host stand-in asking clsFileSystemController for its data folders,
// with the platform's folders in a scratch folder. The expansion rules themselves are the unit tests'.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "os/codepage.h"
#include "tests/cli/cli_support.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

using Result = testing::CommandResult;
using testing::ShellQuoted;

class QlxwFolders : public ::testing::Test {
 protected:
  Result Run(const std::vector<std::string>& args) {
    return testing::RunQlxw("cd " + ShellQuoted(Cwd()) + " && env QLXW_LANG=1038 QLXW_INI=" +
                                ShellQuoted(Ini()) + " QLXW_DOCUMENTS_DIR=" + ShellQuoted(Documents()) +
                                " QLXW_COMMON_APPDATA=" + ShellQuoted(AppData()) +
                                " QLXW_SETTINGS_FILE=" + ShellQuoted(folder_.File("settings.ini")),
                            args, folder_);
  }

  std::string Ini() const { return folder_.File("host.ini"); }
  std::string IniText() const { return platform::AnsiToUtf8(testing::ReadBytes(Ini())); }
  std::string Documents() const { return folder_.File("Documents"); }
  std::string AppData() const { return folder_.File("ProgramData"); }
  // Where the command runs: nothing may appear there.
  std::string Cwd() const {
    std::filesystem::create_directories(folder_.Path() / "cwd");
    return folder_.File("cwd");
  }
  void WriteIni(const std::string& text) const { testing::WriteBytes(Ini(), platform::Utf8ToAnsi(text)); }

  testing::ScratchFolder folder_;
};

TEST_F(QlxwFolders, TheListHasEveryFolderCreatedOnDiskAndWritesTheDefinitions) {
  const Result result = Run({"folders"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string library = std::filesystem::path(QLXW_CLI_PATH).parent_path().parent_path().string();
  const std::string system = AppData() + "/Rendszer";
  const std::string expected =
      "1\tTemplates\t" + system + "/Sablonok\n2\tSaveFolder\t" + Documents() +
      "/QLX_Mentések\n3\tUserFolder\t" + Documents() + "\n4\tSystem\t" + system + "\n5\tFont25\t" + system +
      "/Font25\n6\tTables\t" + system + "/Tablazatok\n7\tGoldenCrown\t" + system +
      "/Tablazatok/Aranykorona\n8\tAreaCalculation\t" + system + "/Tablazatok/Teruletszamitas\n9\tFormat\t" +
      system + "/Tablazatok/Formatum\n10\tBaseFiles\t" + system + "/Alap_allomanyok\n11\tTemp\t" + system +
      "/Temp\n12\tQD\t" + system + "/QD\n13\tBroadSheets\t" + system + "/Nyomtatvany\n14\tHelp\t" + system +
      "/Help\n15\tProgram\t" + library + "\n16\tWorkSpace\t" + AppData() + "\n";
  EXPECT_EQ(result.out, expected);
  EXPECT_TRUE(std::filesystem::is_directory(system + "/Tablazatok/Formatum"));
  EXPECT_TRUE(std::filesystem::is_directory(Documents() + "/QLX_Mentések"));
  EXPECT_EQ(IniText(),
            "[Folders]\r\nSaveFolder=<UserFolder>QLX_Mentések\r\nTemplates=<System>Sablonok\r\n"
            "Temp=<System>Temp\r\n");
  EXPECT_TRUE(std::filesystem::is_empty(Cwd()));
}

TEST_F(QlxwFolders, FoldersByKeyAliasOrNumberAndTheJsonShape) {
  WriteIni("[Folders]\r\nTemplates=<system>Mine\r\nTemp=<TABLES>\r\n");
  EXPECT_EQ(Run({"folders", "get", "templates"}).out, AppData() + "/Rendszer/Mine\n");
  EXPECT_EQ(Run({"folders", "get", "egsPath_Temp"}).out, AppData() + "/Rendszer/Tablazatok\n");
  EXPECT_EQ(Run({"folders", "get", "11"}).out, AppData() + "/Rendszer/Tablazatok\n");
  const Result json = Run({"folders", "--json"});
  EXPECT_EQ(json.status, 0);
  EXPECT_TRUE(json.out.starts_with(
      "{\"controller\": \"FSCReplacer\", \"folders\": [{\"id\": 1, \"name\": \"egsPath_Template\", \"key\": "
      "\"Templates\", \"definition\": \"<system>Mine\", \"path\": \"" +
      AppData() + "/Rendszer/Mine\", \"exists\": true, \"writable\": true}, {\"id\": 2, "))
      << json.out;
}

TEST_F(QlxwFolders, AFailingFolderIsReportedAndTheOthersListed) {
  WriteIni("[Folders]\r\nTemp=<Nowhere>\r\n");
  const Result json = Run({"folders", "--json"});
  EXPECT_EQ(json.status, 1);
  EXPECT_NE(json.out.find("{\"id\": 11, \"name\": \"egsPath_Temp\", \"key\": \"Temp\", \"definition\": "
                          "\"<Nowhere>\", \"path\": null, \"error\": \"0x800A0005: Invalid procedure call or "
                          "argument\"}, {\"id\": 12, "),
            std::string::npos)
      << json.out;
  const Result text = Run({"folders"});
  EXPECT_EQ(text.status, 1);
  EXPECT_NE(text.err.find("0x800A0005: Invalid procedure call or argument"), std::string::npos) << text.err;
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 16);
  EXPECT_EQ(Run({"folders", "get", "11"}).status, 1);
}

// A value too long to read back, already in the file: every folder command and the overview fail with
// the library's error, naming the file it is in.
TEST_F(QlxwFolders, AnUnreadableValueNamesItsFile) {
  WriteIni("[Folders]\r\nTemplates=/" + std::string(2227, 'x') + "\r\n");
  const std::string error = "error 0x80040002: LoadINIValueByKey2 data size error  |Folders.Templates|=2047";
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"folders"}, {"folders", "get", "1"}, {"folders", "defaults"}}) {
    const Result result = Run(args);
    EXPECT_EQ(result.status, 1) << args.back();
    EXPECT_EQ(result.err, "qlxw: " + Ini() + ": " + error + "\n") << args.back();
  }
  const Result overview = Run({});
  EXPECT_EQ(overview.status, 1);
  EXPECT_NE(overview.out.find("folders       FSCReplacer: " + Ini() + ": " + error + "\n"), std::string::npos)
      << overview.out;
  EXPECT_NE(Run({"--json"}).out.find(", \"file\": \"" + Ini() + "\"}}"), std::string::npos);
}

TEST_F(QlxwFolders, SetSaveResetAndTheOtherSubcommands) {
  const std::string mine = folder_.File("Mine");
  EXPECT_EQ(Run({"folders", "set", "SaveFolder", mine}).out, mine + "\n");
  EXPECT_TRUE(std::filesystem::is_directory(mine));
  EXPECT_EQ(Run({"folders", "get", "2"}).out, Documents() + "/QLX_Mentések\n");  // not saved
  EXPECT_EQ(Run({"folders", "set", "SaveFolder", mine, "--save"}).status, 0);
  EXPECT_EQ(Run({"folders", "get", "2"}).out, mine + "\n");
  EXPECT_NE(IniText().find("SaveFolder=" + mine + "\r\n"), std::string::npos);
  EXPECT_EQ(Run({"folders", "reset", "savefolder", "--save"}).status, 0);
  EXPECT_EQ(Run({"folders", "get", "2"}).out, Documents() + "/QLX_Mentések\n");
  EXPECT_EQ(Run({"folders", "reset", "--save"}).status, 0);
  EXPECT_EQ(Run({"folders", "help-file", "--popup"}).out,
            AppData() + "/Rendszer/Help/QLX3_Help.chm::/CSQLX3_Help.txt\n");
  EXPECT_EQ(Run({"folders", "help-file"}).out, AppData() + "/Rendszer/Help/QLX3_Help.chm\n");
  EXPECT_EQ(Run({"folders", "defaults"}).out, AppData() + "\n" + Documents() + "\n");
  EXPECT_EQ(Run({"folders", "get", "17"}).status, 1);
}

TEST_F(QlxwFolders, WrongUseIsAUsageError) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"folders", "get", "Nowhere"},
                                               {"folders", "get"},
                                               {"folders", "set", "1"},
                                               {"folders", "get", "1", "--program", folder_.File("missing")},
                                               {"folders", "--popup"}}) {
    const Result result = Run(args);
    EXPECT_EQ(result.status, 2) << args.back() << result.err;
    EXPECT_NE(result.err.find("(see 'qlxw folders"), std::string::npos) << result.err;
  }
}

// The legacy controller's folders are kept between runs; its beeps reach standard error.
TEST_F(QlxwFolders, TheLegacyControllerBelowTheProgramFolder) {
  const std::string program = folder_.File("Program");
  std::filesystem::create_directories(program);
  const Result first = Run({"--main-ver", "4", "folders", "--program", program});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(std::count(first.err.begin(), first.err.end(), '\a'), 3);
  EXPECT_NE(first.out.find("9\tFormat\t" + program + "/Rendszer/Tablazatok/Formatum/1038\n"),
            std::string::npos)
      << first.out;
  EXPECT_NE(first.out.find("16\tWorkSpace\t\n"), std::string::npos);
  EXPECT_NE(IniText().find("[setup]\r\nFolderControl=false\r\n"), std::string::npos) << IniText();
  const std::string other = folder_.File("Other");
  std::filesystem::create_directories(other);
  EXPECT_EQ(Run({"--main-ver", "4", "folders", "set", "1", other, "--save", "--program", program}).out,
            other + "\n");
  EXPECT_EQ(Run({"--main-ver", "4", "folders", "get", "Templates", "--program", program}).out, other + "\n");
  EXPECT_TRUE(Run({"--main-ver", "4", "folders", "--json", "--program", program})
                  .out.starts_with("{\"controller\": \"clsFSCOld\", "));
  EXPECT_TRUE(std::filesystem::is_empty(Cwd()));
}

TEST_F(QlxwFolders, TheOverviewListsTheFolders) {
  const Result overview = Run({});
  EXPECT_EQ(overview.status, 0);
  EXPECT_NE(
      overview.out.find("folders       FSCReplacer\n  1\tTemplates\t" + AppData() + "/Rendszer/Sablonok\n"),
      std::string::npos)
      << overview.out;
  EXPECT_NE(
      Run({"--json"}).out.find("\"folders\": {\"controller\": \"FSCReplacer\", \"folders\": [{\"id\": 1, "),
      std::string::npos);
}

}  // namespace
}  // namespace qlxw
