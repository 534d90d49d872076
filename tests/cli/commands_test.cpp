// The qlxw command's boundary: arguments, the shape of its text and JSON, exit status, and what goes to
// standard error. What the library answers is its own tests'; here each command shows it reaches it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <regex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/support/type_library_fixture.h"

namespace qlxw {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

// Whether `text` is one JSON document (RFC 8259) and a line end, as a script's parser takes it: its
// strings become S and its other literals 0, then arrays and objects of those become 0, until one is left.
bool IsOneJsonDocument(const std::string& text) {
  std::string rest =
      std::regex_replace(text, std::regex(R"("([^"\\\x00-\x1f]|\\["\\/bfnrt]|\\u[0-9a-fA-F]{4})*")"), "S");
  rest = std::regex_replace(
      rest, std::regex(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?|true|false|null)"), "0");
  rest = std::regex_replace(rest, std::regex("[ \t\r\n]+"), "");
  for (std::string before; before != rest;) {
    before = rest;
    rest = std::regex_replace(rest, std::regex(R"(\[([0S](,[0S])*)?\]|\{(S:[0S](,S:[0S])*)?\})"), "0");
  }
  return text.ends_with('\n') && (rest == "0" || rest == "S");
}

// One run of the command: its arguments, and the exit status, standard output and standard error it
// must give, as patterns (see Matches); `{D}` in an argument is the scratch folder too. A JSON row's output
// is the one document, without its line end.
struct Row {
  Row(std::vector<std::string> words, int code, std::string output, std::string error = "")
      : args(std::move(words)), status(code), out(std::move(output)), err(std::move(error)) {}
  std::vector<std::string> args;
  int status;
  std::string out;
  std::string err;
};

// qlxw started as a script starts it, in a folder of its own, with the INI file, the data folders, the
// legacy controller's settings and the desktop's files all below the scratch folder.
class Qlxw : public ::testing::Test {
 protected:
  // Runs the rows in order: a row may read what an earlier one wrote.
  void Expect(const std::vector<Row>& rows) const {
    std::filesystem::create_directories(folder_.Path() / "cwd");
    const std::string start =
        "D=" + ShellQuoted(folder_.Path().string()) +
        "; cd \"$D/cwd\" && env -u QLXW_ACP -u LC_ALL QLXW_LANG=1038 QLXW_INI=\"$D/host.ini\" "
        "QLXW_DOCUMENTS_DIR=\"$D/Documents\" QLXW_COMMON_APPDATA=\"$D/ProgramData\" "
        "QLXW_SETTINGS_FILE=\"$D/folder-settings.ini\" XDG_DATA_HOME=\"$D/none\" XDG_CONFIG_HOME=\"$D/none\" "
        "XDG_CONFIG_DIRS=\"$D/none\" XDG_DATA_DIRS=\"$D/share\" PATH=\"$D:/usr/bin:/bin\" " +
        ShellQuoted(QLXW_CLI_PATH);
    for (const Row& row : rows) {
      std::string command = start;
      std::string line;
      bool json = false;
      for (std::string arg : row.args) {
        Substitute(arg);
        command += " " + ShellQuoted(arg);
        line += " " + arg;
        json = json || arg == "--json";
      }
      const int raw = std::system((command + R"( >"$D/out" 2>"$D/err" </dev/null)").c_str());
      const std::string out = ReadBytes(File("out"));
      const std::string err = ReadBytes(File("err"));
      EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, row.status) << line << "\n" << err;
      EXPECT_TRUE(Matches(out, row.out + (json ? "\n" : ""))) << line << "\n" << out;
      EXPECT_TRUE(Matches(err, row.err)) << line << "\n" << err;
      EXPECT_TRUE(!json || IsOneJsonDocument(out)) << line << "\n" << out;
    }
  }

  // `*` stands for any text within a line, `**` for any text, `{D}` for the scratch folder; everything
  // else for itself.
  bool Matches(const std::string& text, std::string pattern) const {
    Substitute(pattern);
    std::string expression;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
      if (pattern.compare(at, 2, "**") == 0) {
        expression += "[\\s\\S]*";
        ++at;
      } else if (pattern[at] == '*') {
        expression += "[^\\n]*";
      } else {
        const bool special = std::string_view("\\^$.|?+()[]{}").find(pattern[at]) != std::string_view::npos;
        expression += (special ? "\\" : "") + std::string(1, pattern[at]);
      }
    }
    return std::regex_match(text, std::regex(expression));
  }

  void Substitute(std::string& text) const {
    for (std::size_t at = text.find("{D}"); at != std::string::npos; at = text.find("{D}")) {
      text.replace(at, 3, folder_.Path().string());
    }
  }

  std::string File(const std::string& name) const { return folder_.File(name); }

  ScratchFolder folder_;
};

// One row per command and output form, in an order where a row may read what an earlier one wrote.
TEST_F(Qlxw, EachCommandAnswersInItsShape) {
  WriteBytes(File("host.ini"), "[S]\r\nv=abc\tdef ;c\r\nb=igaz\r\n");
  WriteBytes(File("p.ini"), "[S]\r\nk = \"quoted value\" \r\n");
  WriteBytes(File("help.txt"), "Layers,12\r\nZoom,3\r\n");
  WriteBytes(File("host.dll"), testing::ProgramFileBytes(testing::TypeLibraryBytes("QlxWHost")));
  WriteBytes(File("plain.dll"), testing::ProgramFileBytes("-", u"REGISTRY"));
  WriteBytes(File("bad.ini"), "[Folders]\r\nTemp=<Nowhere>\r\n");
  WriteBytes(File("long.ini"), "[Folders]\r\nTemplates=/" + std::string(2227, 'x') + "\r\n");
  std::filesystem::create_directories(File("Program"));
  std::filesystem::create_directories(File("Other"));
  // A desktop whose viewer for PDF files is zathura (a stand-in), which takes the page on its command line.
  std::filesystem::create_directories(folder_.Path() / "share/mime");
  std::filesystem::create_directories(folder_.Path() / "share/applications");
  WriteBytes(File("zathura"), "#!/bin/sh\n");
  std::filesystem::permissions(File("zathura"), std::filesystem::perms::owner_all);
  WriteBytes(File("share/mime/globs2"), "50:application/pdf:*.pdf\n");
  WriteBytes(File("share/applications/zathura.desktop"), "[Desktop Entry]\nExec=zathura %f\n");
  WriteBytes(File("share/applications/mimeapps.list"),
             "[Default Applications]\napplication/pdf=zathura.desktop\n");
  WriteBytes(File("manual.pdf"), "%PDF-1.4\n");
  const std::string tooLong =
      "error 0x80040002: LoadINIValueByKey2 data size error  |Folders.Templates|=2047";
  Expect({
      // The overview, and the fixed settings.
      Row({}, 0,
          "QlxWCommon *.*.*\nlanguage      1038 Hungarian\nINI file      {D}/host.ini\n"
          "main version  5 (INIManager5)\nsettings\n  gSwapXY                     *\n**\n"
          "folders       FSCReplacer\n  1\tTemplates\t{D}/ProgramData/Rendszer/Sablonok\n**"),
      Row({"--json", "--lang", "1066", "--main-ver", "6"}, 0,
          R"({"version": "*", "language": 1066, "ini": "{D}/host.ini", "mainVersion": 6, "settings": )"
          R"({"gSwapXY": *}, "folders": {"controller": "FSCReplacer", "folders": [*]}})"),
      Row({"ini", "settings", "--json"}, 0,
          R"({"gSwapXY": *, "gAngleMode": *, "gFirstCoorName": "*", "gSecondCoorName": "*", )"
          R"("WarnInvisibleCurrentLayer": *, "TryKeepLayerVisible": *})"),
      // Options anywhere, with their value after '=' or as the next word; '--' ends them.
      Row({"strings", "2", "--lang=2057"}, 0, "2\tError\n"),
      Row({"strings"}, 0, "1\t*\n2\tHiba\n**"),
      Row({"--json", "strings", "51", "2", "--lang", "2057"}, 0,
          R"({"language": 2057, "strings": {"51": "\\System", "2": "Error"}})"),
      Row({"tags", "x<a>y<b>z"}, 0, "x\n<a>\ny\n<b>\nz\n"),
      Row({"tags", "--", "--lang<x>\t\x01"}, 0, "--lang\n<x>\n\\t\\x01\n"),
      Row({"--json", "tags", "a\"b<\\>\xff"}, 0, R"(["a\"b", "<\\>", "\ufffd"])"),
      // The raw profile layer.
      Row({"profile", "read", "{D}/p.ini", "s", "K"}, 0, "quoted value\n"),
      Row({"profile", "read", "{D}/p.ini", "S", "K", "--capacity", "4", "--json"}, 0,
          R"({"count": 3, "text": "quo"})"),
      Row({"profile", "write", "{D}/p.ini", "S", "n", "árvíz"}, 0, ""),
      Row({"profile", "write", "{D}/p.ini", "S", "k", "--delete-key"}, 0, ""),
      Row({"profile", "read", "{D}/p.ini", "S", "k", "--default", "gone"}, 0, "gone\n"),
      Row({"profile", "write", "{D}/p.ini", "S", "--delete-section", "--json"}, 0, R"({"written": true})"),
      // The shared INI manager, which writes the defaults it read back when the command ends.
      Row({"ini", "get", "S", "v"}, 0, "abc\\tdef \n"),
      Row({"ini", "get", "S", "v", "--json"}, 0, R"({"value": "abc\tdef "})"),
      Row({"ini", "get", "S", "b", "--bool", "false", "--main-ver", "4"}, 0, "True\n"),
      Row({"ini", "get", "S", "new", "--default", "dflt"}, 0, "dflt\n"),
      Row({"ini", "set", "S", "flag", "false", "--bool"}, 0, ""),
      Row({"ini", "get", "S", "flag", "--bool", "true", "--json"}, 0, R"({"value": false})"),
      // A library error names the file the command works on.
      Row({"ini", "get", "S", "k", "--main-ver", "0"}, 1, "",
          "qlxw: {D}/host.ini: error 0x80040003: Main version not initialized! (--main-ver 0 sets no main "
          "version: give the host's, 5 if none is given)\n"),
      Row({"ini", "get", "S", "k", "--main-ver", "0", "--json"}, 1,
          R"({"error": {"kind": "library", "message": "{D}/host.ini: error 0x80040003: Main version not )"
          R"(initialized! *", "number": "0x80040003", "file": "{D}/host.ini"}})",
          "qlxw: {D}/host.ini: error 0x80040003: *\n"),
      Row({"strings", "2", "--trace", "{D}/trace.log"}, 0, "2\tHiba\n"),
      Row({"--trace", "{D}/no/such.log", "strings", "2"}, 1, "",
          "qlxw: {D}/no/such.log: error 0x800A004C: Path not found\n"),
      Row({"--trace", ""}, 1, "", "qlxw: error 0x800A004B: Path/File access error\n"),
      Row({"typelib-name", "{D}/host.dll"}, 0, "QlxWHost\n"),
      Row({"typelib-name", "--json", "{D}/host.dll"}, 0, R"({"name": "QlxWHost"})"),
      Row({"typelib-name", "{D}/plain.dll"}, 1, "", "qlxw: {D}/plain.dll: error 0x80029C4A: *\n"),
      // The data folders: a folder by number, key or identifier in any letter case; reports make none.
      Row({"folders"}, 0,
          "1\tTemplates\t{D}/ProgramData/Rendszer/Sablonok\n**\n16\tWorkSpace\t{D}/ProgramData\n"),
      Row({"folders", "--json"}, 0,
          R"({"controller": "FSCReplacer", "folders": [{"id": 1, "name": "egsPath_Template", "key": "Templates", )"
          R"("definition": "<System>Sablonok", "path": "{D}/ProgramData/Rendszer/Sablonok", "exists": false, )"
          R"("writable": false}, {"id": 2, *}]})"),
      Row({"folders", "get", "temp"}, 0, "{D}/ProgramData/Rendszer/Temp\n"),
      Row({"folders", "get", "EGSPATH_TEMP"}, 0, "{D}/ProgramData/Rendszer/Temp\n"),
      Row({"folders", "get", "17"}, 2, "",
          "qlxw: '17' is no folder: the numbers are 1 to 16 (see 'qlxw folders get --help')\n"),
  });
  EXPECT_FALSE(std::filesystem::exists(File("ProgramData")) || std::filesystem::exists(File("Documents")));
  Expect({
      Row({"folders", "set", "SaveFolder", "{D}/Mine", "--save"}, 0, "{D}/Mine\n"),
      Row({"folders", "get", "2", "--create"}, 0, "{D}/Mine\n"),  // made, as a host's read makes it
      Row({"folders", "reset", "savefolder", "--save"}, 0, ""),
      Row({"folders", "get", "2"}, 0, "{D}/Documents/QLX_Mentések\n"),
      Row({"folders", "reset", "--save", "--json"}, 0, R"({"reset": "all"})"),
      Row({"folders", "help-file", "--popup"}, 0,
          "{D}/ProgramData/Rendszer/Help/QLX3_Help.chm::/CSQLX3_Help.txt\n"),
      Row({"folders", "defaults"}, 0, "{D}/ProgramData\n{D}/Documents\n"),
      // A folder that fails is listed with its error, and the others too; a value too long to read back
      // fails with the file it is in, in the overview as well.
      Row({"folders", "--ini", "{D}/bad.ini"}, 1, "**\n10\t*\n11\tTemp\t\n12\t**",
          "qlxw: folder 11: error 0x800A0005: Invalid procedure call or argument\n"),
      Row({"folders", "--json", "--ini", "{D}/bad.ini"}, 1,
          R"(*{"id": 11, "name": "egsPath_Temp", "key": "Temp", "definition": "<Nowhere>", "path": null, )"
          R"("error": "0x800A0005: Invalid procedure call or argument"}, {"id": 12, *)"),
      Row({"folders", "get", "1", "--ini", "{D}/long.ini"}, 1, "", "qlxw: {D}/long.ini: " + tooLong + "\n"),
      Row({"--ini", "{D}/long.ini"}, 1, "**\nfolders       FSCReplacer: {D}/long.ini: " + tooLong + "\n"),
      Row({"--ini", "{D}/long.ini", "--json"}, 1,
          R"(*, "folders": {"controller": "FSCReplacer", "error": "*", )"
          R"("file": "{D}/long.ini"}})"),
      // The legacy controller below the program folder: it keeps its folders, and beeps as it is chosen
      // where the person asks to hear it.
      Row({"--main-ver", "4", "folders", "--program", "{D}/Program", "--ini", "{D}/old.ini", "--beep"}, 0,
          "**\n9\tFormat\t{D}/Program/Rendszer/Tablazatok/Formatum/1038\n**\n16\tWorkSpace\t\n", "\a\a\a"),
      Row({"--main-ver", "4", "folders", "set", "1", "{D}/Other", "--save", "--program", "{D}/Program",
           "--ini", "{D}/old.ini"},
          0, "{D}/Other\n"),
      Row({"--main-ver", "4", "folders", "--json", "--program", "{D}/Program", "--ini", "{D}/old.ini"}, 0,
          R"({"controller": "clsFSCOld", "folders": [{"id": 1, "name": "egsPath_Template", "key": "Templates", )"
          R"("definition": null, "path": "{D}/Other", *)"),
      // Hot keys: the table after the reset and the assignments, in order; -1 assigns nothing.
      Row({"hotkeys"}, 0, "1\tHelp\t112\tF1\n**\n34\t*\t*\t*\n"),
      Row({"hotkeys", "--assign", "113=Help", "--assign", "93=Menu=Key", "--assign=120=", "--assign",
           "121=Two\nlines", "--assign", "-1=Undo"},
          0, "**\n34\tHelp\t113\tF2\n35\tMenu=Key\t93\tVK 0x5D\n36\t\t120\tF9\n37\tTwo\\nlines\t121\tF10\n",
          "qlxw: notice: --assign -1=Undo does nothing: -1 is no key\n"),
      Row({"hotkeys", "--json", "--assign=2090=Undo"}, 0,
          R"([{"position": 1, "function": "Help", "code": 112, "key": "F1"}, *, )"
          R"({"position": 34, "function": "Undo", "code": 2090, "key": "Ctrl+Z"}])"),
      // Locale and theme: every value is checked before the first is written.
      Row({"--lang", "2074", "locale"}, 0,
          "FontName            YUUSAL\nFontSize            8\n**\nUserLocalization    *\nTheme\n"
          "  MenuStyleId       *\n  TransparentBands  *\n"),
      Row({"--main-ver", "4", "locale", "theme", "--style", "2", "--transparent", "maybe"}, 2, "",
          "qlxw: --transparent must be true or false, not 'maybe' (see 'qlxw locale theme --help')\n"),
      Row({"--main-ver", "4", "locale", "theme", "--transparent", "true"}, 0,
          "**\n  MenuStyleId       3\n  TransparentBands  True\n"),
      Row({"--main-ver", "4", "--json", "locale", "theme", "--style", "2"}, 0,
          R"({"FontName": "Arial", *, "Theme": {"MenuStyleId": 2, "TransparentBands": true}})"),
      // The PDF help.
      Row({"help", "page", "--dictionary", "{D}/help.txt", "layers"}, 0, "12\n"),
      Row({"--json", "help", "page", "--dictionary", "{D}/help.txt", "Zoom"}, 0,
          R"({"key": "Zoom", "page": 3})"),
      Row({"help", "commands", "--dictionary", "{D}/help.txt", "--pdf", "/doc/host manual.pdf", "LAYERS"}, 0,
          "[DocOpen(\"/doc/host manual.pdf\")]\n[DocGoTo(\"/doc/host manual.pdf\",11)]\n"),
      Row({"help", "viewer", "{D}/manual.pdf"}, 0, "{D}/zathura\n"),
      Row({"--json", "help", "open", "--dictionary", "{D}/help.txt", "--pdf", "{D}/manual.pdf", "LAYERS"}, 0,
          R"({"shown": true, "way": "command line"})"),
      Row({"help", "open", "--dictionary", "{D}/help.txt", "--pdf", "{D}/missing.pdf", "x"}, 1, ""),
      // What the library answers with a bare code or a default, the command names.
      Row({"help", "viewer", "{D}/missing.pdf"}, 1, "", "qlxw: {D}/missing.pdf: no such file: *\n"),
      Row({"help", "page", "--dictionary", "{D}/none.txt", "x"}, 1, "",
          "qlxw: {D}/none.txt: the dictionary cannot be read (missing, not a file, or too large)\n"),
      Row({"strings", "2", "99999"}, 1, "2\tHiba\n",
          "qlxw: no string 99999 in language 1038 ('qlxw strings' lists them)\n"),
      // Help (of all, of a command, of a group that may be a command itself) and version.
      // The global options once, at the top; a command's own options explained, and an example.
      Row({"--help"}, 0,
          "usage: qlxw [options] [command [arguments]]\n\nOptions:\n**\n  --lang ID *\n**\nCommands:\n**"
          "  folders get ID *\n**\nExit status:\n**\nEnvironment:\n**\nFiles:\n**\nExamples:\n**"),
      Row({"ini", "get", "--help"}, 0,
          "usage: qlxw [options] ini get SECTION KEY *\n *\n\nOptions:\n  --default TEXT  *\n"
          "  --bool true|false  *\n\nExample:\n  qlxw *\n\nGlobal options *\n"),
      Row({"help", "ini"}, 0,
          "usage: qlxw [options] ini get *\n *\nusage: qlxw [options] ini set *\n *\n"
          "usage: qlxw [options] ini settings *\n\nEach command's options and an example: qlxw ini COMMAND "
          "--help\n\nGlobal options *\n"),
      Row({"locale", "--help"}, 0,
          "usage: qlxw [options] locale  *\n\nExample:\n  qlxw *\n\nCommands below it:\n"
          "usage: qlxw [options] locale theme *\n**"),
      Row({"ini", "get", "--help", "--json"}, 0,
          R"({"usage": "usage: qlxw [options] ini get SECTION KEY *"})"),
      Row({"--version"}, 0, "qlxw *.*.*\n"),
      Row({"--version", "--json"}, 0, R"({"version": "*.*.*"})"),
      // Wrong use: exit 2, and one line naming the problem and the help to read.
      Row({"bogus"}, 2, "", "qlxw: unknown command 'bogus' (see 'qlxw --help')\n"),
      Row({"-V"}, 2, "", "qlxw: unknown option '-V' (see 'qlxw --help')\n"),
      Row({"bogus", "--json"}, 2,
          R"j({"error": {"kind": "usage", "message": "unknown command 'bogus' (see 'qlxw --help')", "help": )j"
          R"("qlxw --help"}})",
          "qlxw: unknown command 'bogus' (see 'qlxw --help')\n"),
      Row({"ini"}, 2, "", "qlxw: 'ini' needs one of: get, set, settings (see 'qlxw ini --help')\n"),
      Row({"ini", "get", "S"}, 2, "",
          "qlxw: 'ini get' takes 2 arguments, not 1 (see 'qlxw ini get --help')\n"),
      Row({"tags", "a", "b"}, 2, "", "qlxw: 'tags' takes 1 argument, not 2 (see 'qlxw tags --help')\n"),
      Row({"strings", "--bogus"}, 2, "", "qlxw: unknown option '--bogus' (see 'qlxw strings --help')\n"),
      Row({"strings", "seventy"}, 2, "",
          "qlxw: not a valid string id: 'seventy' (see 'qlxw strings --help')\n"),
      Row({"--lang"}, 2, "", "qlxw: --lang needs a value (see 'qlxw --help')\n"),
      Row({"--main-ver", "five"}, 2, "", "qlxw: not a valid main version: 'five' (see 'qlxw --help')\n"),
      Row({"--json=yes"}, 2, "", "qlxw: --json takes no value (see 'qlxw --help')\n"),
      Row({"profile", "read", "f", "s", "k", "--capacity", "-1"}, 2, "",
          "qlxw: the capacity cannot be negative (see 'qlxw profile read --help')\n"),
      Row({"profile", "write", "f", "S", "--delete-section", "--delete-key"}, 2, "",
          "qlxw: profile write takes * (see 'qlxw profile write --help')\n"),
      Row({"ini", "set", "S", "flag", "maybe", "--bool"}, 2, "",
          "qlxw: VALUE must be true or false, not 'maybe' (see 'qlxw ini set --help')\n"),
      Row({"folders", "get", "Nowhere"}, 2, "",
          "qlxw: 'Nowhere' is no folder: * (see 'qlxw folders get --help')\n"),
      Row({"folders", "--popup"}, 2, "", "qlxw: unknown option '--popup' (see 'qlxw folders --help')\n"),
      Row({"folders", "get", "1", "--program", "{D}/missing"}, 2, "",
          "qlxw: --program: '{D}/missing' is not a folder (see 'qlxw folders get --help')\n"),
      Row({"hotkeys", "--assign", "112"}, 2, "",
          "qlxw: --assign takes CODE=FUNCTION, not '112' (see 'qlxw hotkeys --help')\n"),
      Row({"hotkeys", "--assign", "40000=Help"}, 2, "",
          "qlxw: a key code is a 16-bit number, not 40000 (see 'qlxw hotkeys --help')\n"),
      Row({"help", "page", "Layers"}, 2, "", "qlxw: --dictionary is needed (see 'qlxw help page --help')\n"),
  });
  EXPECT_NE(ReadBytes(File("trace.log")).find("\"clsCommon.Class_Initialize >> "), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(File("cwd")));
  EXPECT_TRUE(std::filesystem::is_directory(File("Mine")));
}

// Every command that writes fails when the write was not done, and says why.
// Without --lang or QLXW_LANG the person's locale names the language; one that names none reads English.
TEST_F(Qlxw, TheLanguageIsTheLocalesAndEnglishWhereItNamesNone) {
  for (const auto& [locale, text] :
       {std::pair{"C.UTF-8", "Error"}, std::pair{"POSIX", "Error"}, std::pair{"hu_HU.UTF-8", "Hiba"}}) {
    const std::string command = std::string("env -u QLXW_LANG -u LC_ALL -u LC_MESSAGES LANG=") + locale +
                                " " + ShellQuoted(QLXW_CLI_PATH) + " strings 2 >" + ShellQuoted(File("out"));
    EXPECT_EQ(std::system(command.c_str()), 0) << locale;
    EXPECT_EQ(ReadBytes(File("out")), std::string("2\t") + text + "\n") << locale;
  }
}

// The completions, as bash and zsh run them (zsh's compadd and _files only say what they were asked to
// offer): the shell, the words typed (the last one being completed) and the offers.
TEST_F(Qlxw, CompletionOffersCommandsOptionsAndFilesAfterTheirOptions) {
  WriteBytes(File("host.ini"), "");
  const std::map<std::string, std::string> shells = {
      {"bash",
       "bash -c 'source \"$0\"/qlxw.bash-completion; COMP_WORDS=(%); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
       "_qlxw; echo ${COMPREPLY[*]}'"},
      {"zsh",
       "zsh -fc 'fpath=(\"$0\"); autoload -U _qlxw; compadd() { shift; offers+=(\"$@\") }; _files() { "
       "offers+=(_files \"$@\") }; words=(%); CURRENT=${#words}; _qlxw; echo ${offers[*]}'"}};
  for (const auto& [shell, typed, offered] : std::vector<std::array<std::string, 3>>{
           {"bash", "qlxw --ini host.ini ini \"\"", "get set settings"},
           {"bash", "qlxw --ini ho", "host.ini"},
           {"bash", "qlxw --ini = ho", "host.ini"},
           {"bash", "qlxw ini get --d", "--default"},
           {"bash", "qlxw --main-ver 4 help \"\"",
            "commands folders help hotkeys ini locale open page profile strings tags typelib-name viewer"},
           {"bash", "qlxw --lang \"\"", ""},
           {"zsh", "qlxw help ini \"\"", "get set settings"},
           {"zsh", "qlxw folders set 1 --program \"\"", "_files -/"},
           {"zsh", "qlxw profile read \"\"", "_files"},
           {"zsh", "qlxw ini get S --bool \"\"", "false true"}}) {
    if (shell == "zsh" && std::system("command -v zsh >/dev/null") != 0) {
      std::cerr << "no zsh here: skipped " << typed << "\n";
      continue;
    }
    std::string run = shells.at(shell);
    run.replace(run.find('%'), 1, typed);
    const std::string script =
        "cd " + ShellQuoted(folder_.Path().string()) +
        " && PATH=" + ShellQuoted(std::filesystem::path(QLXW_CLI_PATH).parent_path().string()) + ":$PATH " +
        run + " " + ShellQuoted(std::string(QLXW_SOURCE_DIR) + "/cli") + " >" + ShellQuoted(File("offers"));
    ASSERT_EQ(std::system(script.c_str()), 0) << typed;
    EXPECT_EQ(ReadBytes(File("offers")), offered + "\n") << shell << ": " << typed;
  }
}

TEST_F(Qlxw, WritesThatWereNotDoneFail) {
  const std::string pipe = File("pipe.ini");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // The legacy controller keeps its folders in a settings file: here a folder.
  std::filesystem::create_directories(File("folder-settings.ini"));
  const std::string notAFile = "not a regular file (a pipe, a device or a folder)\n";
  Expect({
      Row({"ini", "set", "S", "k", "v", "--ini", "{D}/missing\nfolder/host.ini"}, 1, "",
          "qlxw: {D}/missing\\nfolder/host.ini: the value was not written: a folder on the way to the file "
          "is missing\n"),
      Row({"ini", "set", "S", "k", "a\nb", "--json"}, 1,
          R"({"error": {"kind": "command", "message": "{D}/host.ini: the value was not written: a line break or )"
          R"(NUL in a name or value, or a name a read would not find again", "file": "{D}/host.ini"}})",
          "qlxw: {D}/host.ini: the value was not written: a line break *\n"),
      Row({"profile", "write", "{D}", "S", "k", "v"}, 1, "",
          "qlxw: {D}: the write was not done: " + notAFile),
      Row({"ini", "get", "S", "k", "--ini", "{D}/pipe.ini"}, 1, "",
          "qlxw: {D}/pipe.ini: not an INI file: a folder, a pipe or a device (give --ini a file)\n"),
      Row({"locale", "theme", "--style", "7", "--ini", "{D}/none/host.ini"}, 1, "",
          "qlxw: {D}/none/host.ini: the theme was not written: a folder on the way to the file is missing\n"),
      Row({"folders", "set", "1", "{D}", "--save", "--ini", "{D}/none/host.ini"}, 1, "",
          "qlxw: {D}/none/host.ini: the folders were not saved: a folder on the way to the file is "
          "missing\n"),
      Row({"folders", "set", "1", "{D}/" + std::string(1100, 'x'), "--save"}, 1, "",
          "qlxw: {D}/host.ini: the folders were not saved: a path longer than the 1023 characters a read of "
          "the INI file takes back whole\n"),
      Row({"folders", "set", "1", "{D}", "--save", "--main-ver", "3", "--program", "{D}"}, 1, "",
          "qlxw: {D}/folder-settings.ini: error 0x800A004B: Path/File access error\n"),
  });
  // Output that cannot be written: a full device.
  const std::string command = ShellQuoted(QLXW_CLI_PATH) + " strings 2 >/dev/full 2>/dev/null";
  const int raw = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
}

}  // namespace
}  // namespace qlxw
