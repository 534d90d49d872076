#include "language/localized_strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <thread>
#include <tuple>

#include "language/language_runtime.h"
#include "language/string_table.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

using LocalizedStrings = testing::FreshLibraryState;

// Every id some part of the library looks up.
const std::set<std::int32_t> kLookedUpIds = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                             16, 17, 18, 19, 20, 21, 50, 51, 52, 53, 54, 55, 56, 57, 58,
                                             61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 73, 74};
// Those that name folders on disk.
const std::set<std::int32_t> kFolderNameIds = {17, 18, 19, 20, 21, 51, 52, 53, 54, 55,
                                               56, 57, 58, 64, 65, 66, 67, 68, 69, 70};

// The language, the id and its text, kept as stored: misspellings, blanks, the pseudo-language's
// English, the Hungarian table for a language not supported, and nothing for a missing entry.
TEST_F(LocalizedStrings, ReturnTheStoredTextExactlyInASupportedLanguageElseHungarian) {
  EnsureStringTables();
  for (const auto& [language, id, text] :
       {std::tuple{2057, 74, "Error! ini-File path modifications are forbidden!"},
        std::tuple{1031, 70, "Aranykorona"}, std::tuple{100000, 70, "Field/Caption"},
        std::tuple{100000, 71, "Path is not configured :"}, std::tuple{1038, 50, "Invlaid parameter"},
        std::tuple{1038, 71, "Az útvonal nincs konfigurálva : "}, std::tuple{1038, 51, "\\Rendszer"},
        std::tuple{1038, 56, "Tablazatok\\Formatum\\1038"}, std::tuple{2057, 62, "Cannot found pdf reader!"},
        std::tuple{2057, 71, "Path is not configured :"}, std::tuple{1048, 2, "Eroare"},
        std::tuple{2074, 2, "Greška"}, std::tuple{1066, 2, "Lỗi"}, std::tuple{100000, 1, ""},
        std::tuple{1038, 22, ""}}) {
    SetCurrentLanguage(language, {});
    EXPECT_EQ(GetLocalizedString(id, "ignored base text"), text) << language << "/" << id;
  }
  // Supported ids are kept, others select Hungarian.
  for (const std::int32_t id : SupportedLanguageIds) {
    SetCurrentLanguage(id, {});
    EXPECT_EQ(CurrentLanguageId(), id);
  }
  for (const std::int32_t id : {1031, 0, -1, -1038, 34464, 1038 + 65536, 2147483647}) {
    SetCurrentLanguage(kLangEnglishUK, {});
    SetCurrentLanguage(id, "German");
    EXPECT_EQ(CurrentLanguageId(), kLangHungarian) << id;
  }
}

// A thread's first lookup takes the runtime's language when none was set; a language already set stays.
TEST_F(LocalizedStrings, ALookupBeforeAnyLanguageIsInTheRuntimesAndSetsNoneEachThreadItsOwn) {
  // The runtime's language, the language set before (0: none), the language then, and text 74.
  for (const auto& [runtimeLanguage, setBefore, language, text] :
       {std::tuple{kLangEnglishUK, 0, 0, "Error! ini-File path modifications are forbidden!"},
        std::tuple{1031, 0, 0, "Hiba! Az ini-fájl útvonala nem változtatható!"},
        std::tuple{kLangEnglishUK, kLangHungarian, kLangHungarian,
                   "Hiba! Az ini-fájl útvonala nem változtatható!"}}) {
    ResetLibraryState();
    EnsureStringTables();
    ChangeUILanguage(runtimeLanguage);  // nothing subscribed: only the runtime knows it
    if (setBefore != 0) {
      SetCurrentLanguage(setBefore, {});
    }
    EXPECT_EQ(GetLocalizedString(74, {}), text) << runtimeLanguage;
    EXPECT_EQ(CurrentLanguageId(), language) << runtimeLanguage;
  }
  // Each thread has its own language and tables: before the set-up a thread finds nothing; a second set-up
  // changes nothing, nor the language.
  SetCurrentLanguage(kLangEnglishUK, {});
  EnsureStringTables();
  EnsureStringTables();
  std::int32_t otherLanguage = -1;
  std::string otherBeforeSetUp = "unset";
  std::string otherAfterSetUp;
  std::thread other([&] {
    otherLanguage = CurrentLanguageId();
    SetCurrentLanguage(kLangRomanian, {});
    otherBeforeSetUp = GetLocalizedString(2, {});
    EnsureStringTables();
    otherAfterSetUp = GetLocalizedString(2, {});
  });
  other.join();
  EXPECT_EQ(otherLanguage, 0);
  EXPECT_EQ(otherBeforeSetUp, "");
  EXPECT_EQ(otherAfterSetUp, "Eroare");
  EXPECT_EQ(CurrentLanguageId(), kLangEnglishUK);
  EXPECT_EQ(GetLocalizedString(2, {}), "Error");
  SetCurrentLanguage(kLangPseudo, {});
  EXPECT_EQ(LocalizedStringIds(), (std::vector<std::int32_t>{2, 70, 71, 73, 74}));
}

// Every language has every id looked up; translated folder names are plain ASCII a path can hold.
TEST_F(LocalizedStrings, EveryRealLanguageIsComplete) {
  StringTable table;
  table.TakeFromModule();
  EXPECT_TRUE(table.Ids(34464).empty());  // the 16-bit resource number is not a language of its own
  for (const std::int32_t language :
       {kLangHungarian, kLangEnglishUK, kLangRomanian, kLangSerbianLatin, kLangVietnamese}) {
    for (const std::int32_t id : kLookedUpIds) {
      const std::string text = table.Lookup(id, language);
      EXPECT_FALSE(text.empty()) << language << "/" << id;
      const bool translatedFolder =
          kFolderNameIds.contains(id) && language != kLangHungarian && language != kLangEnglishUK;
      EXPECT_TRUE(!translatedFolder || std::all_of(text.begin(), text.end(),
                                                   [](char c) {
                                                     return static_cast<unsigned char>(c) < 0x80 &&
                                                            c != ':' && c != '/' && c != '*' && c != '?';
                                                   }))
          << language << "/" << id << ": " << text;
    }
  }
}

}  // namespace
}  // namespace qlxw
