#include "config/ini_values.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qlxw {
namespace {

TEST(InStrNotQuoted, SkipsMatchesInsideQuotes) {
  EXPECT_EQ(InStrNotQuoted(1, "abc;def", ";", 1), 4);
  EXPECT_EQ(InStrNotQuoted(1, "\"x;y\";z", ";", 1), 6);
  EXPECT_EQ(InStrNotQuoted(1, "\"a;b", ";", 1), 0);  // an unclosed quote hides the rest
  EXPECT_EQ(InStrNotQuoted(5, "a;b;c", ";", 1), 0);
  EXPECT_EQ(InStrNotQuoted(3, "a;b;c", ";", 1), 4);
  EXPECT_EQ(InStrNotQuoted(1, "xAbxab", "AB", 1), 2);
  EXPECT_EQ(InStrNotQuoted(1, "xabxAB", "AB", 0), 5);
  EXPECT_EQ(InStrNotQuoted(0, "a;b", ";", 1), 0);
  EXPECT_EQ(InStrNotQuoted(1, "", ";", 1), 0);

  // Long quoted runs need no recursion.
  std::string text;
  for (int i = 0; i < 200000; ++i) {
    text += "\";\"";
  }
  EXPECT_EQ(InStrNotQuoted(1, text + ";", ";", 1), static_cast<std::int32_t>(text.size() + 1));
}

TEST(CommentCuts, ManagerCutsTabsTooManager5DoesNot) {
  EXPECT_EQ(CutCommentAndTab("abc\tdef;x"), "abc");
  EXPECT_EQ(CutCommentAndTab("\"a\tb\"\tc"), "\"a\tb\"");
  EXPECT_EQ(CutComment("abc\tdef;x"), "abc\tdef");
  EXPECT_EQ(CutComment("abc ;x"), "abc ");
  EXPECT_EQ(CutComment("no comment"), "no comment");
  EXPECT_EQ(CutComment("quoted;inner"), "quoted");  // the file layer removed the quotes already
}

struct BooleanCase {
  const char* text = "";
  std::optional<bool> parsed;  // none: no success, and the value left alone
};

TEST(ParseBoolean, ReadsTheFamilysForms) {
  for (const BooleanCase& row :
       {BooleanCase{"TRUE", true}, BooleanCase{"true", true}, BooleanCase{"True ;x", true},
        BooleanCase{"False ;x", false}, BooleanCase{"false\tcomment", false}, BooleanCase{"1", true},
        BooleanCase{"0", false}, BooleanCase{"-1", true}, BooleanCase{"2.5", true},
        BooleanCase{"tomato", false}, BooleanCase{"fish", true}, BooleanCase{"truest", false},
        BooleanCase{"Falsehood", true}, BooleanCase{"  true", true}, BooleanCase{"  false;", false},
        BooleanCase{"yes", std::nullopt}, BooleanCase{"", std::nullopt}, BooleanCase{"  ", std::nullopt},
        BooleanCase{"igaz", std::nullopt}}) {
    for (const bool before : {false, true}) {
      bool value = before;
      EXPECT_EQ(ParseINIBoolean(row.text, value), row.parsed.has_value()) << row.text;
      EXPECT_EQ(value, row.parsed.value_or(before)) << row.text;
    }
  }
}

TEST(StartsWithINIWord, NeedsAWordEnd) {
  EXPECT_TRUE(StartsWithINIWord("TRUE", false, "true"));
  EXPECT_TRUE(StartsWithINIWord("true;", false, "true"));
  EXPECT_FALSE(StartsWithINIWord("trueish", false, "true"));
  EXPECT_FALSE(StartsWithINIWord("tru", false, "true"));
  EXPECT_FALSE(StartsWithINIWord("  true", false, "true"));
  EXPECT_TRUE(StartsWithINIWord("  true", true, "true"));
  EXPECT_FALSE(StartsWithINIWord("  tr", true, "true"));
}

// The conversion itself is tested with the platform's (tests/base/automation_boolean_test.cpp); here only the
// fallback.
TEST(TextToBooleanOr, FallsBackWhenTheTextIsNoBoolean) {
  for (const bool fallback : {false, true}) {
    EXPECT_EQ(TextToBooleanOr("abc", fallback), fallback);
    EXPECT_EQ(TextToBooleanOr("FALSE", !fallback), false);
  }
}

TEST(NullValues, EmptyAndNullInAnyCase) {
  for (const char* text : {"", "   ", "null", "NULL", " Null "}) {
    EXPECT_TRUE(IsNullValue(text)) << text;
  }
  for (const char* text : {"nul", "null;", "0", "\t"}) {
    EXPECT_FALSE(IsNullValue(text)) << text;
  }
  EXPECT_EQ(BoolToINIText(true), "true");
  EXPECT_EQ(BoolToINIText(false), "false");
}

}  // namespace
}  // namespace qlxw
