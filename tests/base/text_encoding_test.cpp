#include <gtest/gtest.h>

#include <string>

#if !defined(_WIN32)
#include "os/posix/single_byte_code_page.h"
#endif
#include "text/case_fold.h"
#include "text/utf8.h"

namespace qlxw {
namespace {

#if !defined(_WIN32)  // the POSIX code-page tables; Windows converts with the system's functions
using platform::SingleByteCodePage;

TEST(CodePage1250, RoundTripsTheRegionsLetters) {
  const auto page = SingleByteCodePage::Load(1250);
  ASSERT_TRUE(page);
  const std::string letters = "árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ ăâîşţ ĂÂÎŞŢ čćđšž ČĆĐŠŽ";
  const std::string ansi = page->ToAnsi(letters);
  EXPECT_EQ(ansi.size(), Utf16Length(letters));  // one byte a character
  EXPECT_EQ(page->ToUtf8(ansi), letters);
  EXPECT_EQ(page->ToAnsi("ő"), "\xF5");
  EXPECT_EQ(page->ToAnsi("€"), "\x80");
  // Missing characters become question marks; undefined bytes survive a round trip.
  EXPECT_EQ(page->ToAnsi("ș ț Lỗi 😀"), "? ? L?i ?");  // comma-below letters are not in 1250
  EXPECT_EQ(page->ToAnsi("a\xC3(b\xFF"), "a?(b?");    // broken UTF-8
  const std::string undefined = "\x81\x83\x88\x90\x98";
  EXPECT_EQ(page->ToAnsi(page->ToUtf8(undefined)), undefined);
  EXPECT_EQ(page->ToUtf8(std::string("\0x", 2)), std::string("\0x", 2));
}

TEST(CodePages, OtherSingleByteOnesLoadMultiByteOnesDoNot) {
  const auto western = SingleByteCodePage::Load(1252);
  ASSERT_TRUE(western);
  EXPECT_EQ(western->ToAnsi("őé"), "?\xE9");
  const auto baltic = SingleByteCodePage::Load(1257);
  ASSERT_TRUE(baltic);
  EXPECT_EQ(baltic->ToUtf8("\xE0"), "ą");
  for (const int codePage : {932, 0, -1250, 99999}) {
    EXPECT_FALSE(SingleByteCodePage::Load(codePage)) << codePage;
  }
}

#endif

struct CasePair {
  const char* a;
  const char* b;
  bool equal;
};

TEST(CaseInsensitive, ComparesTheFamilysLetters) {
  for (const CasePair& pair :
       {CasePair{"Setup", "SETUP", true}, CasePair{"árvíztűrő", "ÁRVÍZTŰRŐ", true}, CasePair{"ő", "ö", false},
        CasePair{"ăâîșț", "ĂÂÎȘȚ", true}, CasePair{"şţ", "ŞŢ", true}, CasePair{"đšćčž", "ĐŠĆČŽ", true},
        CasePair{"đ", "d", false}, CasePair{"lỗi đường", "LỖI ĐƯỜNG", true}, CasePair{"ơư", "ƠƯ", true},
        CasePair{"љубав", "ЉУБАВ", true}, CasePair{"İ", "i", true}, CasePair{"ı", "I", false},
        CasePair{"ÿ", "Ÿ", true}, CasePair{"a", "ab", false}, CasePair{"", "", true},
        CasePair{"x\xFF", "X\xFF", true}, CasePair{"x\xFE", "x\xFF", false}, CasePair{"×", "÷", false}}) {
    EXPECT_EQ(EqualsNoCase(pair.a, pair.b), pair.equal) << pair.a << " / " << pair.b;
    EXPECT_EQ(EqualsNoCase(pair.b, pair.a), pair.equal) << pair.b << " / " << pair.a;
  }
}

TEST(Utf8, LengthsCountHostCharacters) {
  EXPECT_EQ(Utf16Length(""), 0u);
  EXPECT_EQ(Utf16Length("abc"), 3u);
  EXPECT_EQ(Utf16Length("ő€"), 2u);
  EXPECT_EQ(Utf16Length("\xF0\x9F\x98\x80"), 2u);
  EXPECT_EQ(Utf16Length("\xC0\x80"), 2u);      // overlong: two invalid bytes
  EXPECT_EQ(Utf16Length("\xED\xA0\x80"), 3u);  // a lone surrogate is not a character
}

}  // namespace
}  // namespace qlxw
