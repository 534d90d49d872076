#include "text/tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qlxw {
namespace {

TEST(SplitTags, YieldsPiecesAndTagsInOrder) {
  for (const auto& [text, items] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"", {""}},
           {"abc", {"abc"}},
           {"<a>", {"", "<a>"}},
           {"x<a>y<b>", {"x", "<a>", "y", "<b>"}},  // no empty tail after a closing tag
           {"x<a>y<b>z", {"x", "<a>", "y", "<b>", "z"}},
           {"x<a", {"x<a"}},
           {"a>b<c>", {"a>b", "<c>"}},
           {"<<a>", {"", "<<a>"}},
           {"<a><b>", {"", "<a>", "", "<b>"}}}) {
    EXPECT_EQ(SplitTags(text), items) << text;
  }
}

// A tag is the whole text but its blanks; `inner` takes what the brackets hold, or stays as it was.
TEST(IsTag, TrimsBlanksAndNeedsBothBrackets) {
  for (const auto& [text, inner] : {std::pair{" <> ", ""}, {"  <Program>  ", "Program"}, {"<a>b>", "a>b"}}) {
    std::string got = "kept";
    EXPECT_TRUE(IsTag(text, &got)) << '"' << text << '"';
    EXPECT_EQ(got, inner) << '"' << text << '"';
  }
  for (const char* text : {"", " ", "<", ">", "<a> b", "a<b>", "<a", "\t<a>"}) {
    std::string got = "kept";
    EXPECT_FALSE(IsTag(text, &got)) << '"' << text << '"';
    EXPECT_EQ(got, "kept") << '"' << text << '"';
  }
  EXPECT_TRUE(IsTag("<a>"));  // inner is optional
}

// The first tag: its position from 1 in host characters, what stands before it, and the rest.
TEST(FindAndSplitAtTag, TheFirstTagWhereItStartsAndTheTextAroundIt) {
  struct Case {
    std::string text;
    std::int32_t position;
    std::string before;
    std::string tag;
    std::string rest;
  };
  for (const Case& row : {Case{"ab<c>d", 3, "ab", "<c>", "d"}, Case{"ő<c>", 2, "ő", "<c>", ""},
                          Case{"\xF0\x9F\x98\x80<c>", 3, "\xF0\x9F\x98\x80", "<c>", ""},  // two UTF-16 units
                          Case{"a>b<c>", 4, "a>b", "<c>", ""}, Case{"x<a>y<b>", 2, "x", "<a>", "y<b>"},
                          Case{"no tag <here", 0, "no tag <here", "", ""}}) {
    std::string tag = "stale";
    std::string before = "stale";
    EXPECT_EQ(FindTag(row.text, tag), row.position) << row.text;
    EXPECT_EQ(tag, row.tag) << row.text;
    tag = "stale";
    EXPECT_EQ(SplitAtTag(row.text, before, tag), row.rest) << row.text;
    EXPECT_EQ(before, row.before) << row.text;
    EXPECT_EQ(tag, row.tag) << row.text;
  }
}

}  // namespace
}  // namespace qlxw
