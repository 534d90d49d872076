// qlxw folders as scripts use it: a host stand-in asking clsFileSystemController for its data folders,
// with the platform's folders in a scratch folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "os/codepage.h"
#include "test_support.h"

namespace qlxw {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

class QlxwFolders : public ::testing::Test {
 protected:
  Result Run(const std::vector<std::string>& args, const std::string& language = "1038") {
    std::string command =
        "cd " + ShellQuoted(Cwd()) + " && env QLXW_LANG=" + language + " QLXW_INI=" + ShellQuoted(Ini()) +
        " QLXW_DOCUMENTS_DIR=" + ShellQuoted(Documents()) + " QLXW_COMMON_APPDATA=" + ShellQuoted(AppData()) +
        " QLXW_SETTINGS_FILE=" + ShellQuoted(Settings()) + " " + ShellQuoted(QLXW_CLI_PATH);
    for (const std::string& arg : args) {
      command += " " + ShellQuoted(arg);
    }
    command +=
        " >" + ShellQuoted(folder_.File("out")) + " 2>" + ShellQuoted(folder_.File("err")) + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::ReadBytes(folder_.File("out")),
            testing::ReadBytes(folder_.File("err"))};
  }

  std::string Ini() const { return folder_.File("host.ini"); }
  std::string IniText() const { return platform::AnsiToUtf8(testing::ReadBytes(Ini())); }
  std::string Documents() const { return folder_.File("Documents"); }
  std::string AppData() const { return folder_.File("ProgramData"); }
  std::string Settings() const { return folder_.File("folder-settings.ini"); }
  std::string Program() const { return folder_.File("Program"); }
  // Where the command runs: nothing may appear there.
  std::string Cwd() const {
    std::filesystem::create_directories(folder_.Path() / "cwd");
    return folder_.File("cwd");
  }
  bool Exists(const std::string& path) const { return std::filesystem::is_directory(path); }
  void WriteIni(const std::string& text) const { testing::WriteBytes(Ini(), platform::Utf8ToAnsi(text)); }

  testing::ScratchFolder folder_;
};

struct LanguageCase {
  const char* language;
  const char* templates;  // the two names the INI file's definitions hold
  const char* saves;
  const char* names[16];  // the path of each folder below its root, in order 1..16
};

class QlxwFoldersDefaults : public QlxwFolders, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(QlxwFoldersDefaults, EveryFolderAsTheDefaultTableGivesItCreatedOnDisk) {
  const LanguageCase& c = GetParam();
  const Result result = Run({"folders"}, c.language);
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string libraryFolder = std::filesystem::path(QLXW_CLI_PATH).parent_path().parent_path().string();
  std::string expected;
  const char* keys[] = {"Templates",   "SaveFolder", "UserFolder",  "System",
                        "Font25",      "Tables",     "GoldenCrown", "AreaCalculation",
                        "Format",      "BaseFiles",  "Temp",        "QD",
                        "BroadSheets", "Help",       "Program",     "WorkSpace"};
  for (int id = 1; id <= 16; ++id) {
    const std::string below = c.names[id - 1];
    const std::string path = id == 15                 ? libraryFolder
                             : below.starts_with("D") ? Documents() + below.substr(1)
                                                      : AppData() + below;
    expected += std::to_string(id) + "\t" + keys[id - 1] + "\t" + path + "\n";
    if (id != 15) {
      EXPECT_TRUE(Exists(path)) << path;
    }
  }
  EXPECT_EQ(result.out, expected);
  EXPECT_EQ(IniText(), std::string("[Folders]\r\nSaveFolder=<UserFolder>QLX_") + c.saves +
                           "\r\nTemplates=<System>" + c.templates + "\r\nTemp=<System>Temp\r\n");
  EXPECT_TRUE(std::filesystem::is_empty(Cwd()));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, QlxwFoldersDefaults,
    ::testing::Values(
        LanguageCase{"1038",
                     "Sablonok",
                     "Mentések",
                     {"/Rendszer/Sablonok", "D/QLX_Mentések", "D", "/Rendszer", "/Rendszer/Font25",
                      "/Rendszer/Tablazatok", "/Rendszer/Tablazatok/Aranykorona",
                      "/Rendszer/Tablazatok/Teruletszamitas", "/Rendszer/Tablazatok/Formatum",
                      "/Rendszer/Alap_allomanyok", "/Rendszer/Temp", "/Rendszer/QD", "/Rendszer/Nyomtatvany",
                      "/Rendszer/Help", "", ""}},
        LanguageCase{"2057",
                     "Templates",
                     "Saves",
                     {"/SYSTEM/Templates", "D/QLX_Saves", "D", "/SYSTEM", "/SYSTEM/Font25", "/SYSTEM/Tables",
                      "/SYSTEM/Tables/Golden crown", "/SYSTEM/Tables/Area_Calculation",
                      "/SYSTEM/Tables/Format", "/SYSTEM/Core_files", "/SYSTEM/Temp", "/SYSTEM/QD",
                      "/SYSTEM/Blank_document", "/SYSTEM/Help", "", ""}}),
    [](const ::testing::TestParamInfo<LanguageCase>& param) { return std::string(param.param.language); });

TEST_F(QlxwFolders, DefinitionsFromTheIniFileInAnyLetterCaseAndThroughAliases) {
  WriteIni("[Folders]\r\nTemplates=<system>Mine\r\nTemp=<TABLES>\r\n");
  EXPECT_EQ(Run({"folders", "get", "templates"}).out, AppData() + "/Rendszer/Mine\n");
  EXPECT_EQ(Run({"folders", "get", "egsPath_Temp"}).out, AppData() + "/Rendszer/Tablazatok\n");
  EXPECT_EQ(Run({"folders", "get", "11"}).out, AppData() + "/Rendszer/Tablazatok\n");
  const Result json = Run({"folders", "--json"});
  EXPECT_EQ(json.status, 0);
  EXPECT_NE(
      json.out.find("{\"id\": 1, \"name\": \"egsPath_Template\", \"key\": \"Templates\", \"definition\": "
                    "\"<system>Mine\", \"path\": \"" +
                    AppData() + "/Rendszer/Mine\", \"exists\": true, \"writable\": true}"),
      std::string::npos)
      << json.out;
  EXPECT_TRUE(json.out.starts_with("{\"controller\": \"FSCReplacer\", \"folders\": [{\"id\": 1,"));
}

struct BrokenCase {
  const char* name;
  const char* folders;  // the "Folders" section's lines
  int failing;          // a folder that fails
  const char* error;
};

class QlxwFoldersBroken : public QlxwFolders, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(QlxwFoldersBroken, AFailingFolderIsReportedAndTheOthersListed) {
  const BrokenCase& c = GetParam();
  WriteIni(std::string("[Folders]\r\n") + c.folders);
  const Result json = Run({"folders", "--json"});
  EXPECT_EQ(json.status, 1);
  const std::string failing = "{\"id\": " + std::to_string(c.failing) + ", ";
  const std::size_t at = json.out.find(failing);
  ASSERT_NE(at, std::string::npos) << json.out;
  const std::string entry = json.out.substr(at, json.out.find('}', at) - at);
  EXPECT_NE(entry.find("\"path\": null, \"error\": \"" + std::string(c.error) + "\""), std::string::npos)
      << entry;
  EXPECT_NE(json.out.find("{\"id\": 16, "), std::string::npos);
  const Result text = Run({"folders"});
  EXPECT_EQ(text.status, 1);
  EXPECT_NE(text.err.find(c.error), std::string::npos) << text.err;
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 16);
  EXPECT_EQ(Run({"folders", "get", std::to_string(c.failing)}).status, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QlxwFoldersBroken,
    ::testing::Values(BrokenCase{"Unconfigured", "Templates=<Templates>\r\n", 1,
                                 "0x80040003: Az útvonal nincs konfigurálva : <Templates> "},
                      BrokenCase{"AliasRing", "Temp=<SaveFolder>\r\nSaveFolder=<Temp>\r\n", 11,
                                 "0x80040003: Az útvonal kifejtése sikertelen!"},
                      BrokenCase{"RingThroughRemainders", "Templates=<Temp>a\r\nTemp=<Templates>b\r\n", 1,
                                 "0x80040003: Az útvonal kifejtése sikertelen!"},
                      BrokenCase{"UnknownVariable", "Temp=<Nowhere>\r\n", 11,
                                 "0x800A0005: Invalid procedure call or argument"}),
    [](const ::testing::TestParamInfo<BrokenCase>& param) { return std::string(param.param.name); });

TEST_F(QlxwFolders, SetSaveResetAndTheOtherSubcommands) {
  const std::string mine = folder_.File("Mine");
  EXPECT_EQ(Run({"folders", "set", "SaveFolder", mine}).out, mine + "\n");
  EXPECT_TRUE(Exists(mine));
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
    EXPECT_NE(result.err.find("usage:"), std::string::npos);
  }
}

TEST_F(QlxwFolders, TheLegacyControllerBelowTheProgramFolder) {
  std::filesystem::create_directories(Program());
  const Result first = Run({"--main-ver", "4", "folders", "--program", Program()});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(std::count(first.err.begin(), first.err.end(), '\a'), 3);
  const std::string system = Program() + "/Rendszer";
  EXPECT_NE(first.out.find("1\tTemplates\t" + system + "/Sablonok\n"), std::string::npos) << first.out;
  EXPECT_NE(first.out.find("9\tFormat\t" + system + "/Tablazatok/Formatum/1038\n"), std::string::npos);
  EXPECT_NE(first.out.find("16\tWorkSpace\t\n"), std::string::npos);
  EXPECT_TRUE(Exists(system + "/Tablazatok/Formatum/1038"));
  EXPECT_FALSE(Exists(system + "/QD"));
  EXPECT_NE(IniText().find("[setup]\r\nFolderControl=false\r\n"), std::string::npos) << IniText();
  EXPECT_NE(testing::ReadBytes(Settings()).find("gsPath_Template=" + system + "/Sablonok"),
            std::string::npos);

  // The stored folders survive from one run to the next; only one beep of three per run.
  const std::string other = folder_.File("Other");
  std::filesystem::create_directories(other);
  EXPECT_EQ(Run({"--main-ver", "4", "folders", "set", "1", other, "--save", "--program", Program()}).out,
            other + "\n");
  const Result again = Run({"--main-ver", "4", "folders", "get", "Templates", "--program", Program()});
  EXPECT_EQ(again.out, other + "\n");
  EXPECT_EQ(std::count(again.err.begin(), again.err.end(), '\a'), 3);
  EXPECT_EQ(Run({"--main-ver", "4", "folders", "--json", "--program", Program()}).out.substr(0, 28),
            "{\"controller\": \"clsFSCOld\", ");
  EXPECT_TRUE(std::filesystem::is_empty(Cwd()));
}

TEST_F(QlxwFolders, TheSwitchOnTakesTheFolderManagerAtMainVersion4) {
  WriteIni("[setup]\r\nFolderControl=true\r\n");
  const Result result = Run({"--main-ver", "4", "folders", "--json"});
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.out.starts_with("{\"controller\": \"FSCReplacer\", ")) << result.out;
  EXPECT_EQ(result.err.find('\a'), std::string::npos);
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
