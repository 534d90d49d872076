// The qlxw commands of the user-interface support: the hot-key table, the locale and the theme.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_support.h"
#include "tests/support/folder_test_support.h"

namespace qlxw {
namespace {

using Result = testing::CommandResult;
using testing::ShellQuoted;

class QlxwUi : public ::testing::Test {
 protected:
  Result Run(const std::vector<std::string>& args, const std::string& env = "QLXW_LANG=1038") {
    return testing::RunQlxw("env -u QLXW_ACP " + env + " QLXW_INI=" + ShellQuoted(Ini()), args, folder_);
  }

  std::string Ini() const { return folder_.File("host.ini"); }

  testing::ScratchFolder folder_;
};

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

TEST_F(QlxwUi, HotKeysPrintsTheTableWithReadableKeys) {
  const Result result = Run({"hotkeys"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> lines = LinesOf(result.out);
  ASSERT_EQ(lines.size(), 34U);
  EXPECT_EQ(lines[0], "1\tHelp\t112\tF1");
  EXPECT_EQ(lines[3], "4\tSnapAny\t237\tí");  // windows-1250
  EXPECT_EQ(lines[33], "34\tPrevVector\t2040\tCtrl+Down");
  // In windows-1257 "í" is not a letter of its own: the code page's "?" stands for it.
  EXPECT_EQ(LinesOf(Run({"hotkeys"}, "QLXW_ACP=1257").out)[3], "4\tSnapAny\t63\tVK 0x3F");
}

TEST_F(QlxwUi, AssignmentsAreAppliedInOrderAfterTheResetAndSplitAtTheFirstEqualsSign) {
  // A control character in a name is written out, never splitting the table; -1 is no key and
  // assigns nothing, as the notice says.
  const Result result =
      Run({"hotkeys", "--assign", "113=Help", "--assign", "2113=Help", "--assign", "93=Menu=Key",
           "--assign=120=", "--assign", "121=Two\nlines\t", "--assign", "-1=Undo"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "qlxw: notice: --assign -1=Undo does nothing: -1 is no key\n");
  const std::vector<std::string> lines = LinesOf(result.out);
  ASSERT_EQ(lines.size(), 37U);
  EXPECT_EQ(lines[33], "34\tHelp\t2113\tCtrl+F2");
  EXPECT_EQ(lines[34], "35\tMenu=Key\t93\tVK 0x5D");
  EXPECT_EQ(lines[35], "36\t\t120\tF9");
  EXPECT_EQ(lines[36], "37\tTwo\\nlines\\t\t121\tF10");
  for (const char* bad : {"112", "x=Help", "40000=Help", "=Help"}) {
    const Result wrong = Run({"hotkeys", "--assign", bad});
    EXPECT_EQ(wrong.status, 2) << bad;
    EXPECT_EQ(wrong.out, "") << bad;
  }
}

TEST_F(QlxwUi, HotKeysAsJson) {
  const Result result = Run({"hotkeys", "--json", "--assign=2090=Undo"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(
      result.out.rfind("[{\"position\": 1, \"function\": \"Help\", \"code\": 112, \"key\": \"F1\"}, "
                       "{\"position\": 2, \"function\": \"Redo\", \"code\": 2089, \"key\": \"Ctrl+Y\"}, ",
                       0),
      0U)
      << result.out;
  EXPECT_NE(
      result.out.find("{\"position\": 34, \"function\": \"Undo\", \"code\": 2090, \"key\": \"Ctrl+Z\"}]\n"),
      std::string::npos);
}

TEST_F(QlxwUi, LocaleShowsTheDefaultsOfTheLanguage) {
  const Result result = Run({"--lang", "2074", "locale"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "FontName            YUUSAL\n"
            "FontSize            8\n"
            "MenuFontSize        10\n"
            "UnicodeMenu         False\n"
            "Charset             0\n"
            "DefaultFormDC       \n"
            "IsMenuToolTipHook   False\n"
            "IsMenuCaptionHook   False\n"
            "IsCaptionHook       False\n"
            "IsMessageHook       False\n"
            "IsToolTipHook       False\n"
            "UserLocalization    False\n"
            "Theme\n"
            "  MenuStyleId       3\n"
            "  TransparentBands  False\n");
  EXPECT_EQ(
      Run({"--lang", "1066", "--json", "locale"}).out,
      "{\"FontName\": \".VnTime\", \"FontSize\": 8, \"MenuFontSize\": 10, \"UnicodeMenu\": false, "
      "\"Charset\": 0, \"DefaultFormDC\": \"\", \"IsMenuToolTipHook\": false, \"IsMenuCaptionHook\": false, "
      "\"IsCaptionHook\": false, \"IsMessageHook\": false, \"IsToolTipHook\": false, "
      "\"UserLocalization\": false, \"Theme\": {\"MenuStyleId\": 3, \"TransparentBands\": false}}\n");
}

TEST_F(QlxwUi, ThemeIsWrittenBackFromVersion4On) {
  const Result result = Run({"locale", "theme", "--style", "2", "--transparent", "true", "--main-ver", "4"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("  MenuStyleId       2\n  TransparentBands  True\n"), std::string::npos);
  EXPECT_EQ(testing::ReadBytes(Ini()), "[mod]\r\nStyle=2\r\nTransparentBands=True\r\n");
  EXPECT_NE(Run({"--json", "locale"}).out.find("{\"MenuStyleId\": 2, \"TransparentBands\": true}"),
            std::string::npos);
}

TEST_F(QlxwUi, ThemeErrors) {
  // Nothing is written when one of the values is wrong.
  const Result wrong = Run({"locale", "theme", "--style", "2", "--transparent", "maybe"});
  EXPECT_EQ(wrong.status, 2);
  EXPECT_FALSE(std::filesystem::exists(Ini()) &&
               testing::ReadBytes(Ini()).find("Style") != std::string::npos);
  // A value INIManager5 cannot read: the message box goes to standard error, the defaults stay.
  testing::WriteBytes(Ini(), "[mod]\r\nStyle=" + std::string(1100, '4') + "\r\n");
  const Result unreadable = Run({"--json", "locale"});
  EXPECT_EQ(unreadable.status, 0);
  EXPECT_NE(unreadable.out.find("{\"MenuStyleId\": 0, \"TransparentBands\": false}"), std::string::npos);
  EXPECT_EQ(unreadable.err.rfind("QlxWCommon: QlxWCommon: Paraméterfájl elérési hiba!\r\n-2147221502 ", 0),
            0U)
      << unreadable.err;
}

TEST_F(QlxwUi, HelpPageAndCommandsFromTheDictionary) {
  const std::string dictionary = folder_.File("help.txt");
  testing::WriteBytes(dictionary, "Layers,12\r\nZoom,3\r\n");
  EXPECT_EQ(Run({"help", "page", "--dictionary", dictionary, "layers"}).out, "12\n");
  EXPECT_EQ(Run({"--json", "help", "page", "--dictionary", dictionary, "Zoom"}).out,
            "{\"key\": \"Zoom\", \"page\": 3}\n");
  EXPECT_EQ(
      Run({"help", "commands", "--dictionary", dictionary, "--pdf", "/doc/host manual.pdf", "LAYERS"}).out,
      "[DocOpen(\"/doc/host manual.pdf\")]\n[DocGoTo(\"/doc/host manual.pdf\",11)]\n");
  EXPECT_EQ(Run({"help", "page", "Layers"}).status, 2);
  EXPECT_EQ(Run({"help", "commands", "--dictionary", dictionary, "Layers"}).status, 2);
}

TEST_F(QlxwUi, HelpViewerIsTheDesktopsDefaultApplication) {
  const std::string manual = folder_.File("manual.pdf");
  testing::WriteBytes(manual, "%PDF-1.4\n");
  // zathura takes the page on its command line; the stand-in writes down its arguments.
  testing::WriteBytes(folder_.File("zathura"),
                      "#!/bin/sh\necho \"$@\" > '" + folder_.File("arguments") + "'\n");
  std::filesystem::permissions(folder_.File("zathura"), std::filesystem::perms::owner_all);
  std::filesystem::create_directories(folder_.File("share/mime"));
  std::filesystem::create_directories(folder_.File("share/applications"));
  testing::WriteBytes(folder_.File("share/mime/globs2"), "50:application/pdf:*.pdf\n");
  testing::WriteBytes(folder_.File("share/applications/zathura.desktop"),
                      "[Desktop Entry]\nExec=zathura %f\n");
  const std::string desktop =
      "QLXW_LANG=2057 XDG_DATA_HOME=" + folder_.File("none") + " XDG_CONFIG_HOME=" + folder_.File("none") +
      " XDG_CONFIG_DIRS=" + folder_.File("none") + " XDG_DATA_DIRS=" + folder_.File("share") +
      " PATH=" + folder_.Path().string() + ":/usr/bin:/bin";
  testing::WriteBytes(folder_.File("share/applications/mimeapps.list"),
                      "[Default Applications]\napplication/pdf=zathura.desktop\n");
  EXPECT_EQ(Run({"help", "viewer", manual}, desktop).out, folder_.File("zathura") + "\n");
  testing::WriteBytes(folder_.File("help.txt"), "Layers,12\r\n");
  const Result open =
      Run({"--json", "help", "open", "--dictionary", folder_.File("help.txt"), "--pdf", manual, "LAYERS"},
          desktop);
  EXPECT_EQ(open.status, 0) << open.err;
  EXPECT_EQ(open.out, "{\"shown\": true, \"way\": \"command line\"}\n");
  EXPECT_EQ(testing::ReadWhenWritten(folder_.File("arguments")), "-P 12 " + manual + "\n");
  const Result noViewer = Run(
      {"help", "open", "--dictionary", folder_.File("help.txt"), "--pdf", folder_.File("missing.pdf"), "x"},
      desktop);
  EXPECT_EQ(noViewer.status, 1);
  EXPECT_EQ(noViewer.out, "");
}

}  // namespace
}  // namespace qlxw
