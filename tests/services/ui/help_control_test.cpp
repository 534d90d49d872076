// HelpControl's dictionary: which lines count, where reading stops, the page of a key, the viewer's
// command texts, and the dictionary shared by every HelpControl of the thread.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "language/language_runtime.h"
#include "language/localized_strings.h"
#include "os/codepage.h"
#include "os/dde.h"
#include "os/file_association.h"

#include "tests/support/folder_test_support.h"
#include "ui/help_control.h"
#include "ui/help_dictionary.h"
#include "ui/page_viewers.h"

namespace qlxw {
namespace {

class HelpDictionaryTest : public testing::FolderTest {
 protected:
  std::string Dictionary(const std::string& bytes) {
    std::string path = folder_.File("help.txt");
    testing::WriteBytes(path, bytes);
    return path;
  }
};

// A dictionary file and the page each key then has (0: the key is not there).
TEST_F(HelpDictionaryTest, LinesAreReadAsTheManualsIndexIsWrittenAMissingFileIsNone) {
  for (const auto& [bytes, pages] :
       std::vector<std::pair<std::string, std::vector<std::pair<std::string, int>>>>{
           {"Layers,12\r\nZoom,3\r\n", {{"Layers", 12}, {"LAYERS", 12}, {"zoom", 3}}},
           {"Intro\r\nLayers,12\r\n", {{"Intro", 0}, {"Layers", 12}}},  // no comma: skipped
           {"Layers,12,see also Zoom\r\n", {{"Layers", 12}}},           // a third field is ignored
           {" Layers ,12\r\n", {{"Layers", 0}, {" layers ", 12}}},      // the key as written
           // a duplicate, not a number, a page out of range or none stops the reading
           {"A,1\r\nB,2\r\na,3\r\nC,4\r\nD,5\r\n", {{"A", 1}, {"B", 2}, {"C", 0}, {"D", 0}}},
           {"A,1\r\nB,two\r\nC,3\r\n", {{"A", 1}, {"B", 0}, {"C", 0}}},
           {"A,1\r\nB,40000\r\nC,3\r\n", {{"A", 1}, {"C", 0}}},
           {"A,0\r\nB,-5\r\nC,3\r\n", {{"A", 0}, {"B", 0}, {"C", 3}}},  // below 1: no page, not there
           {"A,1\rB,2", {{"A", 1}, {"B", 2}}},                          // a carriage return alone ends a line
           {"A,1\nB,2\r\n", {{"A", 0}, {"B", 0}}},                      // a line feed alone does not
           {"R\xE9teg,9\r\n", {{"Réteg", 9}, {"RÉTEG", 9}}}}) {         // 8-bit keys
    const auto dictionary = HelpDictionary::Load(Dictionary(bytes));
    ASSERT_TRUE(dictionary.has_value());
    for (const auto& [key, page] : pages) {
      EXPECT_EQ(dictionary->PageOf(key).value_or(0), page) << key << " in " << bytes;
    }
  }
  // A missing file is no dictionary.
  EXPECT_FALSE(HelpDictionary::Load(folder_.File("missing.txt")).has_value());
  EXPECT_FALSE(HelpDictionary::Load("").has_value());
  // Nor is a file far larger than any manual's index.
  const std::string huge = Dictionary("Layers,12\r\n");
  std::filesystem::resize_file(huge, std::uintmax_t{16} << 20U);
  EXPECT_FALSE(HelpDictionary::Load(huge).has_value());
}

class HostControl final : public AutomationObject {
 public:
  explicit HostControl(bool label) : label_(label) {}
  bool IsForm() const override { return false; }
  bool IsDdeLabel() const override { return label_; }

 private:
  bool label_;
};

TEST_F(HelpDictionaryTest, EveryHelpControlOfTheThreadSharesTheDictionaryReadOnceAndInitTakesALabel) {
  const std::string first = Dictionary("Layers,12\r\n");
  const std::string later = folder_.File("later.txt");
  HelpControl().Init(later, "later.pdf");
  EXPECT_EQ(HelpControl().PageOf("Layers"), 1);  // missing: looked for again on every lookup
  testing::WriteBytes(later, "Layers,5\r\n");
  EXPECT_EQ(HelpControl().PageOf("layers"), 5);
  HelpControl().Init(first, "host.pdf");
  EXPECT_EQ(HelpControl().PageOf("layers"), 12);
  EXPECT_EQ(HelpControl().PDFFile(), "host.pdf");
  EXPECT_EQ(HelpControl().PageOf("Unknown"), 1);
  testing::WriteBytes(first, "Layers,20\r\n");  // not read again until Init names a file
  EXPECT_EQ(HelpControl().PageOf("Layers"), 12);
  HelpControl().Init(first, "host.pdf");
  EXPECT_EQ(HelpControl().PageOf("Layers"), 20);
  HelpControl help;  // Init takes only a label, and a refused one changes nothing
  help.Init(first, "first.pdf", std::make_shared<HostControl>(true));
  EXPECT_EQ(
      testing::ErrorNumberOf([&] { help.Init("x.txt", "x.pdf", std::make_shared<HostControl>(false)); }),
      kErrTypeMismatch);
  EXPECT_EQ(testing::ErrorNumberOf([&] { help.Init("x.txt", "x.pdf", nullptr); }), kErrTypeMismatch);
  EXPECT_EQ(help.PDFFile(), "first.pdf") << "a refused Init changes nothing";
}

TEST(PageViewers, ArgumentsThatOpenTheDocumentAtThePageOrTheDdeCommands) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(PageArguments("/usr/bin/evince", "/d/m.pdf", 12), (Args{"--page-index=12", "/d/m.pdf"}));
  EXPECT_EQ(PageArguments("/usr/bin/okular", "/d/m.pdf", 3), (Args{"-p", "3", "/d/m.pdf"}));
  EXPECT_EQ(PageArguments("/usr/bin/zathura", "/d/m.pdf", 1), (Args{"-P", "1", "/d/m.pdf"}));
  EXPECT_EQ(PageArguments("/usr/bin/xpdf", "/d/m.pdf", 7), (Args{"/d/m.pdf", "7"}));
  EXPECT_EQ(PageArguments("qpdfview", "/d/m.pdf", 2), (Args{"/d/m.pdf#2"}));
  EXPECT_FALSE(PageArguments("/usr/bin/foxit", "/d/m.pdf", 2).has_value());
  EXPECT_FALSE(PageArguments("/usr/bin/evince-previewer", "/d/m.pdf", 2).has_value());
  // DDE commands: a quoted path, a zero-based page, and the time-out in tenths of a second.
  EXPECT_EQ(DocOpenCommand("C:\\Help\\Host.pdf"), "[DocOpen(\"C:\\Help\\Host.pdf\")]");
  EXPECT_EQ(DocGoToCommand("C:\\Help\\Host.pdf", 11), "[DocGoTo(\"C:\\Help\\Host.pdf\",11)]");
  EXPECT_EQ(std::chrono::milliseconds(kViewerDdeTimeoutMs), std::chrono::seconds(1000) / 10);
}

// ---- the program that opens the manual ----

#ifndef _WIN32
// A desktop of its own: XDG folders under a scratch folder, programs found on a PATH of its own.
class DesktopAssociations : public HelpDictionaryTest {
 protected:
  void SetUp() override {
    HelpDictionaryTest::SetUp();
    Write("share2/mime/globs2", "# comment\n50:application/pdf:*.pdf\n10:text/plain:*.txt\n");
    Program("bin/evince");
    Program("bin/okular");
    Write("share1/applications/org.gnome.Evince.desktop", "[Desktop Entry]\nName=Evince\nExec=evince %U\n");
    Write("data/applications/okular.desktop",
          "[Desktop Action x]\nExec=nothing\n[Desktop Entry]\nExec=okular %f\n");
    Write("share1/applications/gone.desktop", "[Desktop Entry]\nExec=not-installed %f\n");
    Write("share2/applications/absolute.desktop",
          "[Desktop Entry]\nExec=\"" + folder_.File("bin/okular") + "\" --page 1\n");
    testing::WriteBytes(pdf_, "x");
  }
  void Write(const std::string& relative, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(folder_.File(relative)).parent_path());
    testing::WriteBytes(folder_.File(relative), text);
  }
  void Program(const std::string& relative, const std::string& script = "#!/bin/sh\n") {
    Write(relative, script);
    std::filesystem::permissions(folder_.File(relative), std::filesystem::perms::owner_all);
  }

  const testing::ScopedEnvironment environment_[5] = {
      {"XDG_CONFIG_HOME", folder_.File("config")},
      {"XDG_CONFIG_DIRS", folder_.File("etc-xdg")},
      {"XDG_DATA_HOME", folder_.File("data")},
      {"XDG_DATA_DIRS", folder_.File("share1") + ":" + folder_.File("share2")},
      {"PATH", folder_.File("bin")}};
  std::string pdf_ = folder_.File("Manual.PDF");
};

std::string Associations(const char* section, const char* desktopFiles) {
  return std::string("[") + section + "]\napplication/pdf=" + desktopFiles + "\n";
}

// mimeapps.list files to write, and the program that then opens the manual ("" for none: error 62).
TEST_F(DesktopAssociations, TheViewerFollowsTheXdgOrder) {
  const std::string evince = Associations("Default Applications", "org.gnome.Evince.desktop");
  const std::string okular = Associations("Default Applications", "okular.desktop;");
  const std::string evinceAdded = Associations("Added Associations", "org.gnome.Evince.desktop;");
  using Files = std::vector<std::pair<std::string, std::string>>;
  for (const auto& [files, program] : std::vector<std::pair<Files, std::string>>{
           {{}, ""},
           {{{"config/mimeapps.list", okular}, {"etc-xdg/mimeapps.list", evince}}, "okular"},
           {{{"etc-xdg/mimeapps.list", evince}}, "evince"},
           {{{"share2/applications/mimeapps.list", okular}, {"data/applications/mimeapps.list", evince}},
            "evince"},
           {{{"config/mimeapps.list",
              Associations("Default Applications", "gone.desktop;missing.desktop;okular.desktop")}},
            "okular"},  // not installed: skipped
           {{{"config/mimeapps.list", "[Default Applications]\ntext/plain=okular.desktop\n"}}, ""},
           {{{"config/mimeapps.list", evinceAdded}}, "evince"},
           {{{"config/mimeapps.list", evinceAdded}, {"etc-xdg/mimeapps.list", okular}}, "okular"},
           {{{"share1/applications/mimeinfo.cache", Associations("MIME Cache", "okular.desktop;")}},
            "okular"},
           {{{"share1/applications/big.desktop",
              "[Desktop Entry]\nExec=okular %f\n" + std::string(std::size_t{2} << 20U, '#')},
             {"config/mimeapps.list",
              Associations("Default Applications", "big.desktop;org.gnome.Evince.desktop")}},
            "evince"},  // an oversized entry is skipped
           {{{"config/mimeapps.list", Associations("Default Applications", "absolute.desktop")}},
            "okular"}}) {
    for (const auto& [relative, text] : files) {
      Write(relative, text);
    }
    std::string viewer;
    const LibError error = testing::Raised([&] { viewer = HelpControl().GetPDFViewerExeName(pdf_); });
    EXPECT_EQ(viewer, program.empty() ? "" : folder_.File("bin/" + program)) << files.size();
    EXPECT_EQ(error.Number(), program.empty() ? kLibErrRepeatedOrBadData : 0);
    EXPECT_EQ(error.Description(), program.empty() ? "A pdf olvasó nem található!" : "(no error)");
    for (const auto& file : files) {
      std::filesystem::remove(folder_.File(file.first));
    }
  }
  EXPECT_EQ(testing::ErrorNumberOf([&] { HelpControl().GetPDFViewerExeName(folder_.File("missing.pdf")); }),
            kLibErrNotInitialized);  // any other failure of the system's answer
}

// Starts the manual's viewer: a script standing for the viewer writes down its arguments.
class ViewerStarted : public DesktopAssociations {
 protected:
  void Viewer(const std::string& program) {
    Program("bin/" + program, "#!/bin/sh\necho \"$@\" > '" + folder_.File("arguments") + "'\n");
    Write("share1/applications/viewer.desktop", "[Desktop Entry]\nExec=" + program + " %f\n");
    Write("config/mimeapps.list", Associations("Default Applications", "viewer.desktop"));
  }
};

// The viewer, the manual ("" for the one given to Init), the key, the viewer's arguments ("" for not
// started: the lookup gives false) and the whole trace, a line each after the place (T: the time).
TEST_F(ViewerStarted, StartedAtThePageWithoutDdeAndTracedThroughout) {
  HelpControl().Init(Dictionary("Layers,12\r\n"), pdf_);
  const std::string missing = folder_.File("missing.pdf");
  const std::string found = ">> T\n1 PDFFullName: " + testing::Quoted(pdf_);
  using Row = std::tuple<std::string, std::string, std::string, std::string, std::string>;
  for (const auto& [viewer, pdf, key, arguments, trace] : std::vector<Row>{
           {"evince", "", "LAYERS", "--page-index=12 " + pdf_,
            found + " sKey: LAYERS\n2 T\n3 viewer: " + testing::Quoted(folder_.File("bin/evince")) +
                " started at the page: T\n6 T\n<<T"},
           {"okular", pdf_, "Nowhere", "-p 1 " + pdf_, ""},  // an unknown key: the first page
           {"foxit", "", "Layers", pdf_,
            found + " sKey: Layers\n2 T\n3 viewer: .*/foxit takes no page: started at the first page T\n6 "
                    "T\n<<T"},
           {"evince", missing, "Layers", "",
            ">> T\n1 PDFFullName: " + testing::Quoted(missing) +
                " sKey: Layers\n<< ERROR! : Fájlelérési hiba! : 2"}}) {
    Viewer(viewer);
    std::filesystem::remove(folder_.File("arguments"));
    const HelpControl help;
    const std::string written = testing::TraceOf(
        folder_.File("trace.log"), [&, &pdf = pdf, &key = key, started = !arguments.empty()] {
          EXPECT_EQ(pdf.empty() ? help.AcrobatLookup(key) : help.AcrobatLookupByFile(pdf, key), started);
        });
    EXPECT_EQ(arguments.empty() ? "" : testing::ReadWhenWritten(folder_.File("arguments")),
              arguments.empty() ? "" : arguments + "\n");
    const std::string timed = std::regex_replace("\n" + trace, std::regex("T(?=\n|$)"), R"(\d\d:\d\d:\d\d)");
    const std::string expected =
        std::regex_replace(timed, std::regex("\n([^\n]*)"), "\"HelpControl\\.AcrobatLookupByFile $1\"\r\n");
    EXPECT_TRUE(trace.empty() || std::regex_match(written, std::regex(expected))) << expected << "\n"
                                                                                  << written;
  }
}
#else
TEST_F(HelpDictionaryTest, TheShellsAnswerForMissingAndUnassociatedFiles) {
  HelpControl help;
  EXPECT_EQ(testing::ErrorNumberOf([&] { help.GetPDFViewerExeName(folder_.File("missing.pdf")); }),
            kLibErrNotInitialized);
  const std::string unknown = Dictionary("x");
  std::filesystem::rename(unknown, folder_.File("manual.qlxwnone"));
  EXPECT_EQ(platform::FindProgramForFile(folder_.File("manual.qlxwnone")).code, platform::kAssociationNone);
  EXPECT_EQ(testing::ErrorNumberOf([&] { help.GetPDFViewerExeName(folder_.File("manual.qlxwnone")); }),
            kLibErrRepeatedOrBadData);
  // Without a viewer the lookup reports false rather than failing.
  EXPECT_FALSE(help.AcrobatLookupByFile(folder_.File("manual.qlxwnone"), "Layers"));
  EXPECT_FALSE(help.AcrobatLookupByFile(folder_.File("missing.pdf"), "Layers"));
}

TEST(DdeSeam, NoServerIsAClearError) {
  ASSERT_TRUE(platform::DdeAvailable());
  EXPECT_EQ(testing::DescriptionOf(
                [] { platform::DdeExecute("QlxwNoSuchService", "Control", "[DocOpen(\"x.pdf\")]", 500); }),
            "no DDE server answers (QlxwNoSuchService|Control)");
}
#endif

}  // namespace
}  // namespace qlxw
