// The profile layer's Read and Write, on real files, as the Windows functions behave.
#include "profile/profile.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "os/codepage.h"
#include "profile/profile_write_error.h"
#include "tests/support/test_support.h"
#include "text/utf8.h"

namespace qlxw {
namespace {

class Profile : public ::testing::Test {
 protected:
  std::string Read(const std::string& content, const std::string& section, const std::string& key,
                   std::optional<std::string_view> defaultText = std::nullopt, std::size_t capacity = 255,
                   ProfileCharset charset = ProfileCharset::kCodePage) {
    testing::WriteBytes(file_, content);
    std::string text = "untouched";
    count_ = ProfileRead(section, key, defaultText, capacity, file_, text, charset);
    return text;
  }

  // The file after one write on the given content.
  std::string AfterWrite(const std::string& content, const std::string& section,
                         std::optional<std::string_view> key, std::optional<std::string_view> value) {
    testing::WriteBytes(file_, content);
    written_ = ProfileWrite(section, key, value, file_);
    return testing::ReadBytes(file_);
  }

  testing::ScratchFolder folder_;
  std::string file_ = folder_.File("test.ini");
  std::size_t count_ = 0;
  bool written_ = false;
};

struct ReadCase {
  const char* name;
  std::string content;
  std::string section;
  std::string key;
  std::string expected;
};

// The table's names are in the code page, as the files are; the caller passes them in UTF-8.
TEST_F(Profile, ReadsFollowTheWindowsRules) {
  for (const ReadCase& row :
       {ReadCase{"PlainValue", "[S]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"NamesInAnyCase", "[Setup]\r\nMode=400\r\n", "sETUP", "mODE", "400"},
        ReadCase{"LfOnly", "[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"ValueTrimmed", "[S]\r\nk = \t v w \v\r\n", "S", "k", "v w"},
        ReadCase{"NameTrimmed", "[ S \t]\r\n \t k \t=v\r\n", "S", "k", "v"},
        ReadCase{"CallerNamesTrimmedOfSpaces", "[S]\r\nk=v\r\n", "  S ", " k  ", "v"},
        ReadCase{"CallerTabIsPartOfName", "[S]\r\nk=v\r\n", "\tS", "k", "DEF"},
        ReadCase{"NulEndsTheValue", std::string("[S]\r\nk=a\0b\r\n", 12), "S", "k", "a"},
        ReadCase{"DoubleQuotesRemoved", "[S]\r\nk=  \"  v  \"  \r\n", "S", "k", "  v  "},
        ReadCase{"SingleQuotesRemoved", "[S]\r\nk='v'\r\n", "S", "k", "v"},
        ReadCase{"OnlyOuterQuotes", "[S]\r\nk='\"v\"'\r\n", "S", "k", "\"v\""},
        ReadCase{"MismatchedQuotesKept", "[S]\r\nk=\"v'\r\n", "S", "k", "\"v'"},
        ReadCase{"NoInlineComment", "[S]\r\nk=v ;x\r\n", "S", "k", "v ;x"},
        ReadCase{"CommentLineIsNoKey", "[S]\r\n ;k=v\r\n", "S", ";k", "DEF"},
        ReadCase{"HashIsNoComment", "[S]\r\n#k=v\r\n", "S", "#k", "v"},
        ReadCase{"FirstEqualsSplits", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
        ReadCase{"EmptyValue", "[S]\r\nk=\r\n", "S", "k", ""},
        ReadCase{"EmptyKeyName", "[S]\r\n=v\r\n", "S", "", "v"},
        ReadCase{"LineWithoutEquals", "[S]\r\nk\r\n", "S", "k", "DEF"},
        ReadCase{"FirstDuplicateKeyWins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
        ReadCase{"OnlyFirstDuplicateSection", "[S]\r\n[S]\r\nk=v\r\n", "S", "k", "DEF"},
        ReadCase{"LinesBeforeFirstSection", "k=v\r\n[S]\r\n", "", "k", "DEF"},
        ReadCase{"EmptySectionName", "k=0\r\n[]\r\nk=v\r\n", "", "k", "v"},
        ReadCase{"HeaderEndsAtFirstBracket", "[a]b]\r\nk=v\r\n", "a", "k", "v"},
        ReadCase{"HeaderWithoutBracket", "[S  \r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"TextAfterHeaderIgnored", "[S]k=v\r\n", "S", "k", "DEF"},
        ReadCase{"KeyInNextSectionNotFound", "[S]\r\n[T]\r\nk=v\r\n", "S", "k", "DEF"},
        ReadCase{"Utf8MarkHidesFirstHeader", "\xEF\xBB\xBF[S]\r\nk=v\r\n[T]\r\nk=w\r\n", "S", "k", "DEF"},
        // A name with a part only one byte matches in any case (digits) is searched for by that part:
        // the answers must be those of the header rules all the same.
        ReadCase{
            "S99OnlyAWholeHeaderAtALineStart",
            "x=[Section99]\nk=value\n[aSection99]\nk=prefixed\n[Section990]\nk=longer\nx [Section99]\n"
            "k=inline\n[Section99 ;c]\nk=commented\n  [ \tSECTION99 ]x\nk=right\n[Section99]\nk=second\n",
            "Section99", "k", "right"},
        ReadCase{"S99WithoutClosingBracket", "[Section99\nk=open\n", "Section99", "k", "open"},
        ReadCase{"S99CarriageReturnsOnly", "[a]\rk=a\r[Section99]\rk=cr\r", "Section99", "k", "cr"},
        ReadCase{"S99FirstOfTwoSectionsOnly", "[Section99]\nj=1\n[Section99]\nk=second\n", "Section99", "k",
                 "DEF"}}) {
    EXPECT_EQ(Read(row.content, platform::AnsiToUtf8(row.section), platform::AnsiToUtf8(row.key), "DEF"),
              row.expected)
        << row.name;
  }
}

TEST_F(Profile, MissingOrUnreadableFileGivesTheDefault) {
  for (const std::string& file : {folder_.File("none.ini"), std::string(), folder_.Path().string()}) {
    std::string text;
    EXPECT_EQ(ProfileRead("S", "k", "d", 255, file, text), 1u) << file;
    EXPECT_EQ(text, "d");
  }
}

// The capacity counts the terminating NUL: the value and the default are cut to one less. A default
// loses its trailing spaces only.
TEST_F(Profile, CapacityCutsAndCounts) {
  struct Case {
    const char* content;
    std::optional<std::string_view> defaultText;
    std::size_t capacity;
    std::string text;
  };
  for (const Case& row : {Case{"[S]\r\nk=val1\r\n", {}, 4, "val"}, Case{"[S]\r\nk=val1\r\n", {}, 5, "val1"},
                          Case{"[S]\r\nk=val1\r\n", {}, 1, ""}, Case{"[S]\r\nk=val1\r\n", {}, 0, "untouched"},
                          Case{"", "default", 4, "def"}, Case{"", "  default  ", 255, "  default"},
                          Case{"", "\"q\"\t", 255, "\"q\"\t"}, Case{"", std::nullopt, 255, ""}}) {
    EXPECT_EQ(Read(row.content, "S", "k", row.defaultText, row.capacity), row.text) << row.text;
    EXPECT_EQ(count_, row.capacity == 0 ? 0 : row.text.size()) << row.text;
  }
}

TEST_F(Profile, Utf8FilesKeepEveryCharacterAndCountCharacters) {
  constexpr ProfileCharset kUtf8 = ProfileCharset::kUtf8;
  EXPECT_EQ(Read("[MAPPÁK]\r\nút=Документы\r\n", "Mappák", "út", {}, 255, kUtf8), "Документы");
  EXPECT_EQ(count_, 9u);
  // Cut between characters.
  EXPECT_EQ(Read("[Mappák]\r\nút=Документы\r\n", "Mappák", "út", {}, 4, kUtf8), "Док");
  EXPECT_EQ(Read("", "Mappák", "út", "Ước mơ  ", 255, kUtf8), "Ước mơ");
  EXPECT_EQ(count_, 6u);

  testing::WriteBytes(file_, "; kept\r\n");
  EXPECT_TRUE(ProfileWrite("Mappák", "út", "Документы", file_, kUtf8));
  EXPECT_EQ(testing::ReadBytes(file_), "; kept\r\n[Mappák]\r\nút=Документы\r\n");
  EXPECT_FALSE(ProfileWrite("Mappák", "út", "two\nlines", file_, kUtf8));
}

struct WriteCase {
  const char* name;
  std::string before;
  std::string section;
  std::optional<std::string> key;    // none: delete the section
  std::optional<std::string> value;  // none: delete the key
  std::string after;
  bool written = true;
};

TEST_F(Profile, WritesChangeOnlyTheLinesTheyMust) {
  const std::string kJunk("\x00\xFFjunk\r\n[A]\r\n\r\n  ; note\rx=1\n", 28);
  const std::string kPlain = "[S]\r\nk=v\r\n";

  for (const WriteCase& row :
       {WriteCase{"NewFileWithCrLf", "", "App", "key", "string", "[App]\r\nkey=string\r\n"},
        WriteCase{"NamesLoseSpacesValuesNot", "", " App ", " key ", " v ", "[App]\r\nkey= v \r\n"},
        WriteCase{"NewKeyAfterTheLastKeyLine",
                  ";c0\r\n[S]\r\n;c1\r\nb=1\r\n;c2\r\na=2\r\n;c3\r\n\r\n[T]\r\nx=1\r\n", "s", "z", "9",
                  ";c0\r\n[S]\r\n;c1\r\nb=1\r\n;c2\r\na=2\r\nz=9\r\n;c3\r\n\r\n[T]\r\nx=1\r\n"},
        WriteCase{"NewKeyBeforeALoneComment", "[S]\r\n;only a comment\r\n", "S", "k", "v",
                  "[S]\r\nk=v\r\n;only a comment\r\n"},
        WriteCase{"NewKeyTakesTheNeighboursLineEnd", "[S]\nk=v\n", "S", "n", "w", "[S]\nk=v\nn=w\n"},
        WriteCase{"NewKeyAfterNoFinalNewline", "[S]\r\nk=v", "S", "n", "w", "[S]\r\nk=v\r\nn=w\r\n"},
        WriteCase{"NewSectionAtTheEnd", "[S]\r\nk=v", "T", "n", "w", "[S]\r\nk=v\r\n[T]\r\nn=w\r\n"},
        WriteCase{"ReplaceKeepsTheRestOfTheLine", "[S]\r\nTestKey = old\n;c\r\n", "s", "TESTKEY", "New",
                  "[S]\r\nTestKey =New\n;c\r\n"},
        WriteCase{"ReplaceWithoutFinalNewline", "[S]\r\nk=old", "S", "k", "new", "[S]\r\nk=new\r\n"},
        WriteCase{"ReplaceFirstDuplicate", "[S]\r\nk=1\r\nk=2\r\n", "S", "K", "3", "[S]\r\nk=3\r\nk=2\r\n"},
        WriteCase{"ReplaceWithEmpty", kPlain, "S", "k", "", "[S]\r\nk=\r\n"},
        WriteCase{"OtherBytesStay", kJunk + "[S]\r\nk=v\r\n[B]\n", "S", "k", "w",
                  kJunk + "[S]\r\nk=w\r\n[B]\n"},
        WriteCase{"DeleteKeyLine", "[S]\r\na=1\r\nk=2\r\nb=3\r\n", "S", "K", std::nullopt,
                  "[S]\r\na=1\r\nb=3\r\n"},
        WriteCase{"DeleteLastKeyKeepsHeader", "[S]\r\nk=2\r\n", "S", "k", std::nullopt, "[S]\r\n"},
        WriteCase{"DeleteMissingKey", "[S]\r\na=1\r\n", "S", "missing", std::nullopt, "[S]\r\na=1\r\n"},
        WriteCase{"DeleteSectionKeepsComments", ";c0\r\n[S]\r\n;c1\r\nk=v\r\nbare\r\n\r\n[S2]\r\n;c2\r\n",
                  "s", std::nullopt, std::nullopt, ";c0\r\n;c1\r\n\r\n[S2]\r\n;c2\r\n"},
        WriteCase{"DeleteFirstDuplicateSection", "[S]\r\nk=v\r\n[S]\r\nj=w\r\n", "S", std::nullopt,
                  std::nullopt, "[S]\r\nj=w\r\n"},
        WriteCase{"LineBreakInValueRefused", kPlain, "S", "k", "a\r\n[Injected]", kPlain, false},
        WriteCase{"LineBreakInKeyRefused", kPlain, "S", "k\nx", "v", kPlain, false},
        WriteCase{"LineBreakInSectionRefused", kPlain, "S\r", "k", "v", kPlain, false},
        WriteCase{"NulInValueRefused", kPlain, "S", "k", std::string("a\0b", 3), kPlain, false},
        WriteCase{"BracketInSectionRefused", kPlain, "S]x", "k", "v", kPlain, false},
        WriteCase{"EqualsInKeyRefused", kPlain, "S", "k=x", "v", kPlain, false},
        WriteCase{"CommentKeyRefused", kPlain, "S", " ;k", "v", kPlain, false},
        WriteCase{"HeaderKeyRefused", kPlain, "S", "\t[k", "v", kPlain, false},
        WriteCase{"BracketInSectionDeleteRefused", "[S]x]\r\nk=v\r\n", "S]x", std::nullopt, std::nullopt,
                  "[S]x]\r\nk=v\r\n", false},
        WriteCase{"Utf16StaysUtf16", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 12) + "z", "S", "k", "v",
                  std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0", 22) + "z"}}) {
    ClearProfileWriteError();
    EXPECT_EQ(AfterWrite(row.before, row.section, row.key, row.value), row.after) << row.name;
    EXPECT_EQ(written_, row.written) << row.name;
    EXPECT_EQ(LastProfileWriteError().refusal, row.written ? WriteRefusal::kNone : WriteRefusal::kText)
        << row.name;
  }
}

// A write that is not done tells why (the system's failures are swept in file_fault_sweep_test), until
// the caller clears it: a later write that succeeds leaves the reason for the caller of a run of writes.
TEST_F(Profile, AFailedWriteTellsWhy) {
  const auto failure = [&](const std::string& file) {
    ClearProfileWriteError();
    EXPECT_FALSE(ProfileWrite("S", "k", "v", file)) << file;
    return LastProfileWriteError().file;
  };
  EXPECT_EQ(failure(folder_.File("no/such.ini")), platform::FileFailure::kPathNotFound);
#if !defined(_WIN32)  // Windows refuses a folder as access denied
  EXPECT_EQ(failure(folder_.Path().string()), platform::FileFailure::kNotARegularFile);
#endif
  EXPECT_TRUE(ProfileWrite("S", "k", "v", file_));
  EXPECT_TRUE(LastProfileWriteError().Failed());
  ClearProfileWriteError();
  EXPECT_FALSE(LastProfileWriteError().Failed());
}

// Windows leaves an empty file here; a delete that finds nothing to delete leaves nothing.
TEST_F(Profile, DeletingFromAMissingFileCreatesNothing) {
  const std::string missing = folder_.File("new.ini");
  EXPECT_TRUE(ProfileWrite("S", "k", std::nullopt, missing));
  EXPECT_TRUE(ProfileWrite("S", std::nullopt, std::nullopt, missing));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

// Callers pass and get UTF-8; a file holds the code page's bytes or UTF-16. Either way texts pass
// through the code page, as with the Windows "A" functions, and counts are in its characters.
enum class FileForm { kCodePage, kUtf16 };

std::string FileBytes(FileForm form, const std::string& utf8) {
  if (form == FileForm::kCodePage) {
    return platform::Utf8ToAnsi(utf8);
  }
  std::string bytes = "\xFF\xFE";
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t cp = DecodeUtf8(utf8, pos);  // the tests' texts stay in the first plane
    bytes.push_back(static_cast<char>(cp & 0xFF));
    bytes.push_back(static_cast<char>(cp >> 8));
  }
  return bytes;
}

// What the caller gets for a text of the file: a character the code page lacks becomes "?".
std::string ThroughCodePage(const std::string& utf8) {
  return platform::AnsiToUtf8(platform::Utf8ToAnsi(utf8));
}

// Content (UTF-8, stored in the file's form), section, key, capacity, the text expected before it
// passes through the code page, and the count: accented names in any case, cuts by characters of the
// value and of the default, the whole default, an accented section among others, a character the code
// page lacks (a Han one, in no single-byte code page).
TEST_F(Profile, EncodedReadsComeBackInUtf8CountedInCodePageCharacters) {
  for (const FileForm form : {FileForm::kCodePage, FileForm::kUtf16}) {
    for (const auto& [content, section, key, capacity, expected, count] :
         {std::tuple{"[Árvíz]\r\nTükör=fúró\r\n", "áRVÍZ", "tÜKÖR", 255U, "fúró", 4U},
          std::tuple{"[S]\r\nk=tükör\r\n", "S", "k", 3U, "tü", 2U},
          std::tuple{"[S]\r\n", "S", "k", 2U, "D", 1U}, std::tuple{"[S]\r\n", "S", "k", 255U, "Dé", 2U},
          std::tuple{"[Árvíz1]\r\nk=1\r\n[Árvíz12]\r\nk=12\r\n", "árvíz12", "K", 255U, "12", 2U},
          std::tuple{"[S]\r\nk=a\u6F22b\r\n", "S", "k", 255U, "a\u6F22b", 3U}}) {
      EXPECT_EQ(Read(FileBytes(form, content), section, key, "Dé", capacity), ThroughCodePage(expected))
          << content;
      EXPECT_EQ(count_, count) << content;
    }
  }
}

TEST_F(Profile, EncodedWritesStoreTheFilesOwnForm) {
  for (const FileForm form : {FileForm::kCodePage, FileForm::kUtf16}) {
    const std::string start = form == FileForm::kCodePage ? "" : "\xFF\xFE";
    EXPECT_EQ(AfterWrite(start, "Árvíz", "Tükör", "fúró"), FileBytes(form, "[Árvíz]\r\nTükör=fúró\r\n"));
    EXPECT_EQ(AfterWrite(testing::ReadBytes(file_), "árvíz", "tükör", "kés"),
              FileBytes(form, "[Árvíz]\r\nTükör=kés\r\n"));
    EXPECT_EQ(AfterWrite(testing::ReadBytes(file_), "ÁRVÍZ", "Tükör", std::nullopt),
              FileBytes(form, "[Árvíz]\r\n"));
  }
}

}  // namespace
}  // namespace qlxw
