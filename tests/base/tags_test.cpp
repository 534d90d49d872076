#include "text/tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qlxw {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> items;
};

TEST(SplitTags, YieldsPiecesAndTagsInOrder) {
  for (const SplitCase& row :
       {SplitCase{"Empty_OneEmptyItem", "", {""}}, SplitCase{"PlainText_Whole", "abc", {"abc"}},
        SplitCase{"TagOnly_EmptyBefore", "<a>", {"", "<a>"}},
        SplitCase{"EndsWithTag_NoEmptyTail", "x<a>y<b>", {"x", "<a>", "y", "<b>"}},
        SplitCase{"EndsWithText_TailKept", "x<a>y<b>z", {"x", "<a>", "y", "<b>", "z"}},
        SplitCase{"UnclosedTag_IsText", "x<a", {"x<a"}},
        SplitCase{"CloseBeforeOpen_IsText", "a>b<c>", {"a>b", "<c>"}},
        SplitCase{"DoubleOpen_TagRunsFromFirst", "<<a>", {"", "<<a>"}},
        SplitCase{"AdjacentTags_EmptyBetween", "<a><b>", {"", "<a>", "", "<b>"}},
        SplitCase{"PathDefinition", "<System>\\Tablazatok", {"", "<System>", "\\Tablazatok"}}}) {
    EXPECT_EQ(SplitTags(row.text), row.items) << row.name;
  }
}

TEST(IsTag, TrimsBlanksAndNeedsBothBrackets) {
  std::string inner = "untouched";
  EXPECT_TRUE(IsTag(" <> ", &inner));
  EXPECT_EQ(inner, "");
  EXPECT_TRUE(IsTag("  <Program>  ", &inner));
  EXPECT_EQ(inner, "Program");
  EXPECT_TRUE(IsTag("<a>b>", &inner));
  EXPECT_EQ(inner, "a>b");
}

TEST(IsTag, FalseLeavesInnerAlone) {
  std::string inner = "untouched";
  EXPECT_TRUE(IsTag("<a>"));  // inner is optional
  for (const char* text : {"", " ", "<", ">", "<a> b", "a<b>", "<a", "\t<a>"}) {
    EXPECT_FALSE(IsTag(text, &inner)) << '"' << text << '"';
  }
  EXPECT_EQ(inner, "untouched");
}

TEST(FindTag, PositionCountsFromOneInHostCharactersIgnoringCloseBeforeOpen) {
  std::string tag;
  EXPECT_EQ(FindTag("ab<c>d", tag), 3);
  EXPECT_EQ(tag, "<c>");
  EXPECT_EQ(FindTag("ő<c>", tag), 2);                 // one character, two bytes
  EXPECT_EQ(FindTag("\xF0\x9F\x98\x80<c>", tag), 3);  // outside the BMP: two UTF-16 units
  tag = "stale";
  EXPECT_EQ(FindTag("a>b<c>", tag), 4);
  EXPECT_EQ(tag, "<c>");
  EXPECT_EQ(FindTag("a>b<c", tag), 0);
  EXPECT_EQ(tag, "");
}

TEST(SplitAtTag, FillsBeforeTagAndRestOrTakesTheWholeTextWithoutATag) {
  std::string before;
  std::string tag;
  EXPECT_EQ(SplitAtTag("x<a>y<b>", before, tag), "y<b>");
  EXPECT_EQ(before, "x");
  EXPECT_EQ(tag, "<a>");
  EXPECT_EQ(SplitAtTag("head<end>", before, tag), "");
  EXPECT_EQ(tag, "<end>");
  EXPECT_EQ(SplitAtTag("no tag <here", before, tag), "");
  EXPECT_EQ(before, "no tag <here");
  EXPECT_EQ(tag, "");
}

}  // namespace
}  // namespace qlxw
