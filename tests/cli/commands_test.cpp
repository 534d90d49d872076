// The qlxw command as scripts use it: output, exit status and errors.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_support.h"
#include "tests/support/test_support.h"
#include "tests/support/type_library_fixture.h"

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

// The text commands: the language from --lang (anywhere), else QLXW_LANG, else the locale; strings of
// a language the library does not have are the Hungarian ones; tags one per line or as JSON.
TEST_F(Qlxw, StringsAndTagsPrintOnePerLineOrAsJson) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
    std::string env = "QLXW_LANG=1038";
  };
  for (const Case& row :
       {Case{{"strings", "50", "71"}, "50\tInvlaid parameter\n71\tAz útvonal nincs konfigurálva : \n"},
        Case{{"strings", "9999"}, "9999\t\n"}, Case{{"strings", "2"}, "2\tEroare\n", "QLXW_LANG=1048"},
        Case{{"strings", "2"}, "2\tGreška\n", "-u QLXW_LANG LC_ALL=sr_RS@latin"},
        Case{{"strings", "2", "--lang=2057"}, "2\tError\n", "QLXW_LANG=1048"},
        Case{
            {"strings", "--lang", "100000"},
            "2\tField/Caption\n70\tField/Caption\n71\tPath is not configured :\n73\tPath resolution failed!\n"
            "74\tError! ini-File path modifications are forbidden!\n"},
        Case{{"--json", "strings", "51", "2", "--lang", "2057"},
             "{\"language\": 2057, \"strings\": {\"51\": \"\\\\System\", \"2\": \"Error\"}}\n"},
        Case{{"strings", "--json", "--lang", "1031", "2"},
             "{\"language\": 1038, \"strings\": {\"2\": \"Hiba\"}}\n"},
        Case{{"tags", "x<a>y<b>z"}, "x\n<a>\ny\n<b>\nz\n"}, Case{{"tags", ""}, "\n"},
        Case{{"tags", "<<a>", "--json"}, "[\"\", \"<<a>\"]\n"},
        Case{{"--json", "tags", "a\"b<\\>"}, "[\"a\\\"b\", \"<\\\\>\"]\n"},
        Case{{"tags", "--", "--lang<x>"}, "--lang\n<x>\n"}}) {
    EXPECT_EQ(Run(row.args, row.env).out, row.out) << row.args.back();
  }
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
  EXPECT_EQ(Run({"profile", "write", Ini(), "S", "k", "a\nb"}).status, 1);
  EXPECT_EQ(testing::ReadBytes(Ini()), "[S]\r\nn=\xE1rv\xEDz\r\n");
  EXPECT_EQ(Run({"profile", "write", Ini(), "S", "--delete-section"}).status, 0);
  EXPECT_EQ(testing::ReadBytes(Ini()), "");
  EXPECT_EQ(Run({"profile", "write", Ini(), "S", "--delete-section", "--delete-key"}).status, 2);
}

TEST_F(Qlxw, IniThroughEitherManager) {
  testing::WriteBytes(Ini(), "[S]\r\nv=abc\tdef ;c\r\nb=igaz\r\n");
  EXPECT_EQ(Run({"ini", "get", "S", "v", "--main-ver", "4"}).out, "abc\n");
  EXPECT_EQ(Run({"ini", "get", "S", "v", "--main-ver", "5"}).out, "abc\\tdef \n");  // the tab written out
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

TEST_F(Qlxw, LibraryErrorsNameTheirFile) {
  const Result noVersion = Run({"ini", "get", "S", "k", "--main-ver", "0"});
  EXPECT_EQ(noVersion.status, 1);
  EXPECT_EQ(noVersion.err, "qlxw: " + Ini() + ": error 0x80040003: Main version not initialized!\n");
  std::string big = "[S]\r\nk=" + std::string(1024, 'x') + "\r\n";
  testing::WriteBytes(Ini(), big);
  EXPECT_EQ(Run({"ini", "get", "S", "k"}).err,
            "qlxw: " + Ini() + ": error 0x80040002: LoadINIValueByKey2 data size error  |S.k|=1024\n");
  EXPECT_EQ(Run({"ini", "get", "S", "k", "--ini", "  "}).err,
            "qlxw:   : error 0x80040001: Invalid inifile name!\n");
}

TEST_F(Qlxw, MisuseIsOneLinePointingAtTheHelp) {
  struct Case {
    const char* line;  // split at blanks
    const char* err;
  };
  const Case cases[] = {
      {"bogus", "qlxw: unknown command 'bogus' (see 'qlxw --help')\n"},
      {"ini", "qlxw: 'ini' needs one of: get, set, settings (see 'qlxw ini --help')\n"},
      {"ini get S", "qlxw: 'ini get' takes 2 arguments, not 1 (see 'qlxw ini get --help')\n"},
      {"tags a b", "qlxw: 'tags' takes 1 argument, not 2 (see 'qlxw tags --help')\n"},
      {"strings --bogus", "qlxw: unknown option '--bogus' (see 'qlxw strings --help')\n"},
      {"strings seventy", "qlxw: not a valid string id: 'seventy' (see 'qlxw strings --help')\n"},
      {"--lang", "qlxw: --lang needs a value (see 'qlxw --help')\n"},
      {"--main-ver five", "qlxw: not a valid main version: 'five' (see 'qlxw --help')\n"},
      {"ini get S k --bool", "qlxw: --bool needs a value (see 'qlxw ini get --help')\n"},
      {"profile read f s k --capacity -1",
       "qlxw: the capacity cannot be negative (see 'qlxw profile read --help')\n"},
      {"--json=yes", "qlxw: --json takes no value (see 'qlxw --help')\n"},
  };
  for (const Case& c : cases) {
    std::istringstream words(c.line);
    const Result result =
        Run({std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()});
    EXPECT_EQ(result.status, 2) << c.line;
    EXPECT_EQ(result.out, "") << c.line;
    EXPECT_EQ(result.err, c.err);
  }
}

TEST_F(Qlxw, HelpOfAllOfACommandOrOfAGroup) {
  const Result all = Run({"--help"});
  EXPECT_EQ(all.status, 0);
  EXPECT_NE(all.out.find("strings [ID ...]"), std::string::npos);
  EXPECT_NE(all.out.find("folders get ID"), std::string::npos);
  const Result one = Run({"ini", "get", "--help"});
  EXPECT_EQ(one.out.rfind("usage: qlxw [options] ini get SECTION KEY", 0), 0u) << one.out;
  EXPECT_EQ(one.out.find("ini set"), std::string::npos);
  // A group, also one that is a command itself, shows every command below it: its errors point there.
  for (const auto& [word, members] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"ini", {"ini get", "ini set", "ini settings"}},
           {"folders", {"folders [--program DIR]", "folders get", "folders set", "folders reset"}},
           {"locale", {"locale  ", "locale theme"}}}) {
    const Result group = Run({word, "--help"});
    for (const std::string& member : members) {
      EXPECT_NE(group.out.find("qlxw [options] " + member), std::string::npos) << member;
    }
    EXPECT_EQ(group.out.find("profile read"), std::string::npos);
  }
  EXPECT_TRUE(std::regex_match(Run({"--version"}).out, std::regex("qlxw [0-9]+\\.[0-9]+\\.[0-9]+\n")));
}

// Every command under --json prints one document, errors and writes included, whatever bytes it meets.
TEST_F(Qlxw, JsonIsAlwaysOneValidDocument) {
  testing::WriteBytes(Ini(), "[S]\r\nk=v\r\n");
  const std::vector<std::vector<std::string>> lines = {
      {"--version"},
      {"--help"},
      {"ini", "get", "--help"},
      {"ini", "set", "S", "n", "v"},
      {"ini", "set", "S", "n", "true", "--bool"},
      {"profile", "write", Ini(), "S", "n", "w"},
      {"profile", "write", Ini(), "S", "n", "a\nb"},
      {"profile", "read", Ini(), "S", "\xff\xfe"},
      {"tags", "caf\xe9 \xc3"},
      {"ini", "get", "S"},
      {"bogus"},
      {"ini", "get", "S", "k", "--main-ver", "0"},
      {"folders", "defaults"},
      {"folders", "reset"},
  };
  for (const std::vector<std::string>& line : lines) {
    std::vector<std::string> args = line;
    args.emplace_back("--json");
    const Result result = Run(args);
    EXPECT_TRUE(testing::IsOneJsonDocument(result.out)) << line.front() << ": " << result.out;
    EXPECT_EQ(result.status != 0, result.out.find("{\"error\": ") == 0) << result.out;
  }
  EXPECT_EQ(Run({"ini", "set", "S", "n", "v", "--json"}).out, "{\"written\": true}\n");
  EXPECT_EQ(Run({"tags", "a\xff", "--json"}).out, "[\"a\\ufffd\"]\n");
}

// Every command that writes fails when the write was not done, and says why.
TEST_F(Qlxw, WritesThatDidNotHappenFail) {
  // A name's line break is written out in the message, as every control character in the text output.
  const std::string nowhere = folder_.File("missing\nfolder/host.ini");
  const std::string pipe = folder_.File("pipe.ini");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string notAFile = ": not a regular file (a pipe, a device or a folder)\n";
  const std::string lineBreak =
      ": a line break or NUL in a name or value, or a name a read would not find again\n";
  // The legacy controller keeps its folders in a settings file: here a folder.
  std::filesystem::create_directories(folder_.File("folder-settings.ini"));
  const std::string path = folder_.Path().string();
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  for (const Case& row : {
           Case{{"ini", "set", "S", "k", "v", "--ini", nowhere},
                folder_.File("missing\\nfolder/host.ini") +
                    ": the value was not written: a folder on the way to the file is missing\n"},
           Case{{"ini", "set", "S", "k", "v", "--ini", pipe},
                pipe + ": the value was not written" + notAFile},
           Case{{"ini", "set", "S", "k", "a\nb"}, Ini() + ": the value was not written" + lineBreak},
           Case{{"profile", "write", path, "S", "k", "v"}, path + ": the write was not done" + notAFile},
           Case{{"locale", "theme", "--style", "7", "--ini", pipe},
                pipe + ": the theme was not written" + notAFile},
           Case{{"locale", "theme", "--transparent", "true", "--ini", path},
                path + ": the theme was not written" + notAFile},
           Case{{"folders", "set", "1", path, "--save", "--ini", pipe},
                pipe + ": the folders were not saved" + notAFile},
           Case{{"folders", "reset", "--save", "--ini", path},
                path + ": the folders were not saved" + notAFile},
           Case{{"folders", "set", "1", path + "/a\nb", "--save"},
                Ini() + ": the folders were not saved" + lineBreak},
           Case{{"folders", "set", "1", path + "/" + std::string(1100, 'x'), "--save"},
                Ini() +
                    ": the folders were not saved: a path longer than the 1023 characters a read of the INI "
                    "file takes back whole\n"},
           Case{{"folders", "set", "1", path, "--save", "--main-ver", "3", "--program", path},
                folder_.File("folder-settings.ini") + ": the folders were not saved" + notAFile},
       }) {
    const Result result = Run(row.args);
    EXPECT_EQ(result.status, 1) << row.err;
    EXPECT_EQ(result.out, "") << row.err;
    // (The legacy controller beeps as it makes its folders the first time.)
    EXPECT_EQ(result.err.substr(result.err.find_first_not_of('\a')), "qlxw: " + row.err);
  }
  EXPECT_FALSE(std::filesystem::exists(path + "/a\nb"));
  // Output that cannot be written: a full device.
  const std::string command = ShellQuoted(QLXW_CLI_PATH) + " strings 2 >/dev/full 2>/dev/null";
  const int raw = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
}

// Records are appended to the trace file; one that cannot be written is a library error.
TEST_F(Qlxw, TraceAppendsRecordsOfTheRootObject) {
  const std::string log = folder_.File("trace.log");
  testing::WriteBytes(log, "\"kept\"\r\n");
  ASSERT_EQ(Run({"strings", "2", "--trace", log}).status, 0);
  const std::string written = testing::ReadBytes(log);
  EXPECT_EQ(written.rfind("\"kept\"\r\n\"clsCommon.Class_Initialize >> ", 0), 0u) << written;
  const Result missing = Run({"--trace", folder_.File("no/such/folder.log"), "strings", "2"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err,
            "qlxw: " + folder_.File("no/such/folder.log") + ": error 0x800A004C: Path not found\n");
  EXPECT_EQ(Run({"--trace", ""}).err, "qlxw: error 0x800A004B: Path/File access error\n");
  // A device is no log: the library appends to regular files only.
  EXPECT_EQ(Run({"--trace", "/dev/full"}).err, "qlxw: /dev/full: error 0x800A004B: Path/File access error\n");
}

}  // namespace
}  // namespace qlxw
