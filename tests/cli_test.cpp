// The qlxw command as scripts use it: output, exit status and errors.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli_support.h"
#include "test_support.h"
#include "tests/type_library_fixture.h"

namespace qlxw {
namespace {

using Result = testing::CommandResult;
using testing::ShellQuoted;

class Qlxw : public ::testing::Test {
 protected:
  // Runs qlxw as a script would, with the scratch INI file unless the environment says otherwise.
  Result Run(const std::vector<std::string>& args, const std::string& env = "QLXW_LANG=1038") {
    // The overview lists (and makes) the data folders: below the scratch folder, not the user's.
    return testing::RunQlxw("env " + env + " QLXW_DOCUMENTS_DIR=" + ShellQuoted(folder_.File("Documents")) +
                                " QLXW_COMMON_APPDATA=" + ShellQuoted(folder_.File("ProgramData")) +
                                " QLXW_SETTINGS_FILE=" + ShellQuoted(folder_.File("folder-settings.ini")) +
                                " QLXW_INI=" + ShellQuoted(Ini()),
                            args, folder_);
  }

  std::string Ini() const { return folder_.File("host.ini"); }

  testing::ScratchFolder folder_;
};

TEST_F(Qlxw, StringsInTheChosenLanguage) {
  EXPECT_EQ(Run({"--lang", "2057", "strings", "74"}).out,
            "74\tError! ini-File path modifications are forbidden!\n");
  EXPECT_EQ(Run({"strings", "50", "71"}).out,
            "50\tInvlaid parameter\n71\tAz útvonal nincs konfigurálva : \n");
  EXPECT_EQ(Run({"strings", "9999"}).out, "9999\t\n");
}

TEST_F(Qlxw, LanguageComesFromTheEnvironmentUnlessGiven) {
  EXPECT_EQ(Run({"strings", "2"}, "QLXW_LANG=1048").out, "2\tEroare\n");
  EXPECT_EQ(Run({"strings", "2"}, "-u QLXW_LANG LC_ALL=sr_RS@latin").out, "2\tGreška\n");
  EXPECT_EQ(Run({"strings", "2", "--lang=2057"}, "QLXW_LANG=1048").out, "2\tError\n");
}

TEST_F(Qlxw, AllStringsOfALanguage) {
  EXPECT_EQ(Run({"strings", "--lang", "100000"}).out,
            "2\tField/Caption\n70\tField/Caption\n71\tPath is not configured :\n73\tPath resolution failed!\n"
            "74\tError! ini-File path modifications are forbidden!\n");
}

TEST_F(Qlxw, StringsAsJson) {
  EXPECT_EQ(Run({"--json", "strings", "51", "2", "--lang", "2057"}).out,
            "{\"language\": 2057, \"strings\": {\"51\": \"\\\\System\", \"2\": \"Error\"}}\n");
  EXPECT_EQ(Run({"strings", "--json", "--lang", "1031", "2"}).out,
            "{\"language\": 1038, \"strings\": {\"2\": \"Hiba\"}}\n");
}

TEST_F(Qlxw, TagsOnePerLineOrAsJson) {
  EXPECT_EQ(Run({"tags", "x<a>y<b>z"}).out, "x\n<a>\ny\n<b>\nz\n");
  EXPECT_EQ(Run({"tags", ""}).out, "\n");
  EXPECT_EQ(Run({"tags", "<<a>", "--json"}).out, "[\"\", \"<<a>\"]\n");
  EXPECT_EQ(Run({"--json", "tags", "a\"b<\\>"}).out, "[\"a\\\"b\", \"<\\\\>\"]\n");
  EXPECT_EQ(Run({"tags", "--", "--lang<x>"}).out, "--lang\n<x>\n");
}

TEST_F(Qlxw, TypeLibraryNameOfAProgramFile) {
  testing::WriteBytes(folder_.File("host.dll"),
                      testing::ProgramFileBytes(testing::TypeLibraryBytes("QlxWHost")));
  testing::WriteBytes(folder_.File("plain.dll"), testing::ProgramFileBytes("-", u"REGISTRY"));
  EXPECT_EQ(Run({"typelib-name", folder_.File("host.dll")}).out, "QlxWHost\n");
  EXPECT_EQ(Run({"typelib-name", "--json", folder_.File("host.dll")}).out, "{\"name\": \"QlxWHost\"}\n");
  const Result none = Run({"typelib-name", folder_.File("plain.dll")});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("error 0x80029C4A: "), std::string::npos) << none.err;
  EXPECT_NE(none.err.find("holds no type library"), std::string::npos) << none.err;
  // The mingw build's own server, when it was built beside this one.
  const std::string server = std::string(QLXW_SOURCE_DIR) + "/build-mingw/QlxWCommon.dll";
  if (std::ifstream(server).good()) {
    EXPECT_EQ(Run({"typelib-name", server}).out, "QlxWCommon\n");
  }
}

TEST_F(Qlxw, OverviewIsTheMainJob) {
  const Result overview = Run({});
  EXPECT_EQ(overview.status, 0);
  EXPECT_TRUE(std::regex_search(overview.out, std::regex("^QlxWCommon [0-9]+\\.[0-9]+\\.[0-9]+\n")));
  EXPECT_NE(overview.out.find("1038 Hungarian"), std::string::npos);
  EXPECT_NE(overview.out.find("INI file      " + Ini() + "\n"), std::string::npos);
  EXPECT_NE(overview.out.find("main version  5 (INIManager5)"), std::string::npos);
  EXPECT_NE(overview.out.find("gAngleMode                  360"), std::string::npos);
  EXPECT_TRUE(
      std::regex_match(Run({"--json", "--lang", "1066", "--main-ver", "4"}).out,
                       std::regex("\\{\"version\": \"[0-9.]+\", \"language\": 1066, \"ini\": \".*\", "
                                  "\"mainVersion\": 4, \"settings\": \\{\"gSwapXY\": false, .*\\}\\}\n")));
}

TEST_F(Qlxw, ProfileReadAndWrite) {
  testing::WriteBytes(Ini(), "[S]\r\nk = \"quoted value\" \r\n");
  EXPECT_EQ(Run({"profile", "read", Ini(), "s", "K"}).out, "quoted value\n");
  EXPECT_EQ(Run({"profile", "read", Ini(), "s", "K", "--capacity", "4", "--json"}).out,
            "{\"count\": 3, \"text\": \"quo\"}\n");
  EXPECT_EQ(Run({"profile", "write", Ini(), "S", "n", "árvíz"}).status, 0);
  EXPECT_EQ(Run({"profile", "write", Ini(), "S", "k", "--delete-key"}).status, 0);
  EXPECT_EQ(testing::ReadBytes(Ini()), "[S]\r\nn=\xE1rv\xEDz\r\n");  // in the 8-bit code page
  EXPECT_EQ(Run({"profile", "read", Ini(), "S", "n"}).out, "árvíz\n");
  EXPECT_EQ(Run({"profile", "write", Ini(), "S", "k", "a\nb"}).status, 1);
  EXPECT_EQ(testing::ReadBytes(Ini()), "[S]\r\nn=\xE1rv\xEDz\r\n");
  EXPECT_EQ(Run({"profile", "write", Ini(), "S", "--delete-section"}).status, 0);
  EXPECT_EQ(testing::ReadBytes(Ini()), "");
  EXPECT_EQ(Run({"profile", "write", Ini(), "S", "--delete-section", "--delete-key"}).status, 2);
}

TEST_F(Qlxw, IniThroughEitherManager) {
  testing::WriteBytes(Ini(), "[S]\r\nv=abc\tdef ;c\r\nb=igaz\r\n");
  EXPECT_EQ(Run({"ini", "get", "S", "v", "--main-ver", "4"}).out, "abc\n");
  EXPECT_EQ(Run({"ini", "get", "S", "v", "--main-ver", "5"}).out, "abc\tdef \n");
  EXPECT_EQ(Run({"ini", "get", "S", "b", "--bool", "false", "--main-ver", "4", "--json"}).out,
            "{\"value\": true}\n");
  EXPECT_EQ(Run({"ini", "get", "S", "new", "--default", "dflt"}).out, "dflt\n");
  EXPECT_EQ(Run({"ini", "set", "S", "flag", "false", "--bool"}).status, 0);
  EXPECT_EQ(testing::ReadBytes(Ini()), "[S]\r\nv=abc\tdef ;c\r\nb=igaz\r\nnew=dflt\r\nflag=false\r\n");
  EXPECT_EQ(Run({"ini", "set", "S", "flag", "maybe", "--bool"}).status, 2);
  EXPECT_EQ(
      Run({"ini", "settings", "--json"}).out,
      "{\"gSwapXY\": false, \"gAngleMode\": 360, \"gFirstCoorName\": \"Y\", \"gSecondCoorName\": \"X\", "
      "\"WarnInvisibleCurrentLayer\": true, \"TryKeepLayerVisible\": false}\n");
}

TEST_F(Qlxw, IniErrorsAreLibraryErrors) {
  const Result noVersion = Run({"ini", "get", "S", "k", "--main-ver", "0"});
  EXPECT_EQ(noVersion.status, 1);
  EXPECT_EQ(noVersion.err, "error 0x80040003: Main version not initialized!\n");
  std::string big = "[S]\r\nk=" + std::string(1024, 'x') + "\r\n";
  testing::WriteBytes(Ini(), big);
  EXPECT_EQ(Run({"ini", "get", "S", "k"}).err,
            "error 0x80040002: LoadINIValueByKey2 data size error  |S.k|=1024\n");
  EXPECT_EQ(Run({"ini", "get", "S", "k", "--ini", "  "}).err, "error 0x80040001: Invalid inifile name!\n");
}

TEST_F(Qlxw, MisuseExitsTwoWithUsage) {
  // Each line a command line, split at blanks.
  for (const char* line : {"bogus", "strings --bogus", "--lang", "--lang english strings", "strings seventy",
                           "tags", "tags a b", "--json=yes", "--main-ver five", "ini get S",
                           "ini get S k --bool", "profile read f s k --capacity -1"}) {
    std::istringstream words(line);
    const Result result =
        Run({std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()});
    EXPECT_EQ(result.status, 2) << line;
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("usage: qlxw"), std::string::npos);
  }
}

TEST_F(Qlxw, HelpAndVersion) {
  const Result help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("strings [ID ...]"), std::string::npos);
  EXPECT_TRUE(std::regex_match(Run({"--version"}).out, std::regex("qlxw [0-9]+\\.[0-9]+\\.[0-9]+\n")));
}

TEST_F(Qlxw, TraceAppendsRecordsOfTheRootObject) {
  const std::string log = folder_.File("trace.log");
  testing::WriteBytes(log, "\"kept\"\r\n");
  ASSERT_EQ(Run({"strings", "2", "--trace", log}).status, 0);
  const std::string written = testing::ReadBytes(log);
  EXPECT_EQ(written.rfind("\"kept\"\r\n\"clsCommon.Class_Initialize >> ", 0), 0u) << written;
}

TEST_F(Qlxw, UnwritableTraceIsALibraryError) {
  const Result missing = Run({"--trace", folder_.File("no/such/folder.log"), "strings", "2"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "error 0x800A004C: Path not found\n");
  EXPECT_EQ(Run({"--trace", ""}).err, "error 0x800A004B: Path/File access error\n");
}

}  // namespace
}  // namespace qlxw
