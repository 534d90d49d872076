// HelpControl's dictionary: which lines count, where reading stops, the page of a key, the viewer's
// command texts, and the dictionary shared by every HelpControl of the thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "ui/help_control.h"
#include "ui/help_dictionary.h"

namespace qlxw {
namespace {

class HelpDictionaryTest : public testing::FreshLibraryState {
 protected:
  std::string Dictionary(const std::string& bytes) {
    const std::string path = folder_.File("help.txt");
    testing::WriteBytes(path, bytes);
    return path;
  }
  testing::ScratchFolder folder_;
};

// A dictionary file and the page each key then has (0: the key is not there).
struct DictionaryCase {
  const char* name;
  std::string bytes;
  std::vector<std::pair<std::string, std::int16_t>> pages;
};

class DictionaryLines : public HelpDictionaryTest, public ::testing::WithParamInterface<DictionaryCase> {};

TEST_P(DictionaryLines, ReadAsTheManualsIndexIsWritten) {
  const auto dictionary = HelpDictionary::Load(Dictionary(GetParam().bytes));
  ASSERT_TRUE(dictionary.has_value());
  for (const auto& [key, page] : GetParam().pages) {
    const auto found = dictionary->PageOf(key);
    EXPECT_EQ(found.value_or(0), page) << key;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DictionaryLines,
    ::testing::Values(
        DictionaryCase{
            "KeyAndPage", "Layers,12\r\nZoom,3\r\n", {{"Layers", 12}, {"LAYERS", 12}, {"zoom", 3}}},
        DictionaryCase{
            "LineWithoutACommaIsSkipped", "Intro\r\nLayers,12\r\n", {{"Intro", 0}, {"Layers", 12}}},
        DictionaryCase{"ThirdFieldIgnored", "Layers,12,see also Zoom\r\n", {{"Layers", 12}}},
        DictionaryCase{"KeyAsWritten", " Layers ,12\r\n", {{"Layers", 0}, {" layers ", 12}}},
        DictionaryCase{"DuplicateStopsTheReading",
                       "A,1\r\nB,2\r\na,3\r\nC,4\r\nD,5\r\n",
                       {{"A", 1}, {"B", 2}, {"C", 0}, {"D", 0}}},
        DictionaryCase{
            "NotANumberStopsTheReading", "A,1\r\nB,two\r\nC,3\r\n", {{"A", 1}, {"B", 0}, {"C", 0}}},
        DictionaryCase{"PageOutOfRangeStopsTheReading", "A,1\r\nB,40000\r\nC,3\r\n", {{"A", 1}, {"C", 0}}},
        DictionaryCase{"EmptyPageStopsTheReading", "A,1\r\nB,\r\nC,3\r\n", {{"A", 1}, {"C", 0}}},
        DictionaryCase{"EmptyLinesAreSkipped", "\r\n\r\nA,7\r\n", {{"A", 7}}},
        DictionaryCase{"CarriageReturnAloneEndsALine", "A,1\rB,2", {{"A", 1}, {"B", 2}}},
        DictionaryCase{"LineFeedAloneDoesNot", "A,1\nB,2\r\n", {{"A", 0}, {"B", 0}}},
        DictionaryCase{"EightBitKeys", "R\xE9teg,9\r\n", {{"Réteg", 9}, {"RÉTEG", 9}}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(HelpDictionaryTest, AMissingFileIsNoDictionary) {
  EXPECT_FALSE(HelpDictionary::Load(folder_.File("missing.txt")).has_value());
  EXPECT_FALSE(HelpDictionary::Load("").has_value());
}

TEST(ViewerCommands, QuotedPathAndZeroBasedPage) {
  EXPECT_EQ(DocOpenCommand("C:\\Help\\Host.pdf"), "[DocOpen(\"C:\\Help\\Host.pdf\")]");
  EXPECT_EQ(DocGoToCommand("C:\\Help\\Host.pdf", 11), "[DocGoTo(\"C:\\Help\\Host.pdf\",11)]");
  EXPECT_EQ(DocGoToCommand("/usr/share/doc/host.pdf", 0), "[DocGoTo(\"/usr/share/doc/host.pdf\",0)]");
}

TEST_F(HelpDictionaryTest, EveryHelpControlOfTheThreadSharesTheDictionary) {
  const std::string first = Dictionary("Layers,12\r\n");
  HelpControl().Init(first, "host.pdf");
  EXPECT_EQ(HelpControl().PageOf("layers"), 12);
  EXPECT_EQ(HelpControl().PDFFile(), "host.pdf");
  EXPECT_EQ(HelpControl().PageOf("Unknown"), 1);

  // Loaded once: a changed file is not read again until Init names a file.
  testing::WriteBytes(first, "Layers,20\r\n");
  EXPECT_EQ(HelpControl().PageOf("Layers"), 12);
  HelpControl other;
  other.Init(first, "host.pdf");
  EXPECT_EQ(HelpControl().PageOf("Layers"), 20);
}

TEST_F(HelpDictionaryTest, AMissingDictionaryIsLookedForAgainOnEveryLookup) {
  const std::string later = folder_.File("later.txt");
  HelpControl help;
  help.Init(later, "host.pdf");
  EXPECT_EQ(help.PageOf("Layers"), 1);
  testing::WriteBytes(later, "Layers,5\r\n");
  EXPECT_EQ(help.PageOf("Layers"), 5);
}

}  // namespace
}  // namespace qlxw
