// LocalInfo and the theme: default fonts per language, the font events and their order, the values
// hosts store, and the theme kept in the INI file for main versions 4 and later.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "api/cls_common.h"
#include "api/default_theme.h"
#include "api/shared_local_info.h"
#include "language/language_runtime.h"
#include "language/localized_strings.h"
#include "os/notices.h"
#include "tests/support/folder_test_support.h"
#include "text/number_text.h"
#include "ui/local_info.h"

namespace qlxw {
namespace {

using testing::ErrorNumberOf;

// What listeners heard, one text per event; and whether the object already held each font name told.
class EventLog final : public LocalInfoEvents {
 public:
  explicit EventLog(const LocalInfo* info = nullptr) : info_(info) {}
  void ChangeFontName(const std::string& fontName) override {
    Add("FontName ", fontName);
    stored = info_ == nullptr || info_->FontName() == fontName;
  }
  void ChangeFontSize(float fontSize) override { Add("FontSize ", NumberToText(fontSize)); }
  void ChangeMenuFontSize(float fontSize) override { Add("MenuFontSize ", NumberToText(fontSize)); }
  std::vector<std::string> events;
  bool stored = false;

 private:
  const LocalInfo* info_;
  void Add(std::string event, const std::string& value) {
    event += value;
    events.push_back(std::move(event));
  }
};

class LocalInfoTest : public testing::FreshLibraryState {
 protected:
  std::shared_ptr<LocalInfo> Make() { return MakeLocalInfo(); }
  static std::shared_ptr<EventLog> Listen(LocalInfo& info) {
    auto events = std::make_shared<EventLog>();
    info.Advise(events);
    return events;
  }
};

TEST_F(LocalInfoTest, DefaultFontFollowsTheLanguageAtConstructionAndOnEveryChange) {
  for (const auto& [language, font] :
       {std::pair{kLangVietnamese, ".VnTime"}, std::pair{kLangSerbianLatin, "YUUSAL"},
        std::pair{kLangHungarian, "Arial"}, std::pair{1031, "Arial"}}) {
    ChangeUILanguage(language);
    const auto info = Make();
    EXPECT_EQ(info->FontName(), font);
    ChangeUILanguage(kLangHungarian);
    const auto events = Listen(*info);
    ChangeUILanguage(language);
    EXPECT_EQ(info->FontName(), font);
    EXPECT_EQ(events->events, std::vector<std::string>{std::string("FontName ") + font}) << language;
  }
}

TEST_F(LocalInfoTest, FontEventsComeAfterTheValueIsStoredInTheOrderOfThePutsAnEmptyNameFails) {
  const auto info = Make();
  const auto first = std::make_shared<EventLog>(info.get());  // reads the object back
  const auto second = std::make_shared<EventLog>();
  info->Advise(first);
  const std::uint32_t cookie = info->Advise(second);

  info->FontName("Tahoma");
  info->FontSize(9.0F);
  info->MenuFontSize(11.5F);
  info->UnicodeMenu(true);  // no event
  info->Charset(238);
  const std::vector<std::string> expected = {"FontName Tahoma", "FontSize 9", "MenuFontSize 11.5"};
  EXPECT_EQ(first->events, expected);
  EXPECT_EQ(second->events, expected);
  EXPECT_TRUE(first->stored);

  info->Unadvise(cookie);
  info->FontSize(10.0F);
  EXPECT_EQ(second->events.size(), 3U);
  EXPECT_EQ(first->events.back(), "FontSize 10");
  // An empty font name fails with 1001 in the current language and changes nothing.
  for (const auto& [language, text] :
       {std::tuple{kLangHungarian, "Invlaid parameter"}, std::tuple{kLangEnglishUK, "Invalid parameter"}}) {
    SetCurrentLanguage(language, "");
    const auto events = Listen(*info);
    const LibError error = testing::Raised([&] { info->FontName(""); });
    EXPECT_EQ(error.Number(), kErrApplicationDefined);
    EXPECT_EQ(error.Description(), text);
    EXPECT_EQ(info->FontName(), "Tahoma");
    EXPECT_TRUE(events->events.empty());
  }
}

// Each switch stores only its own value.
TEST_F(LocalInfoTest, SwitchesAreIndependentTheMenuFontSizeSurvivesItsTextForm) {
  using Switch = std::tuple<const char*, void (LocalInfo::*)(bool), bool (LocalInfo::*)() const>;
  const Switch switches[] = {
      {"IsMenuToolTipHook", &LocalInfo::IsMenuToolTipHook, &LocalInfo::IsMenuToolTipHook},
      {"IsMenuCaptionHook", &LocalInfo::IsMenuCaptionHook, &LocalInfo::IsMenuCaptionHook},
      {"IsCaptionHook", &LocalInfo::IsCaptionHook, &LocalInfo::IsCaptionHook},
      {"IsMessageHook", &LocalInfo::IsMessageHook, &LocalInfo::IsMessageHook},
      {"IsToolTipHook", &LocalInfo::IsToolTipHook, &LocalInfo::IsToolTipHook},
      {"UserLocalization", &LocalInfo::UserLocalization, &LocalInfo::UserLocalization},
      {"UnicodeMenu", &LocalInfo::UnicodeMenu, &LocalInfo::UnicodeMenu},
  };
  for (const Switch& on : switches) {
    const auto info = Make();
    (*info.*std::get<1>(on))(true);
    for (const Switch& other : switches) {
      EXPECT_EQ((*info.*std::get<2>(other))(), &other == &on)
          << std::get<0>(on) << " changed " << std::get<0>(other);
    }
  }
  // The menu font size survives its text form.
  for (const float size : {9.5F, 10.0F, 7.25F, 0.1F, 9.1F, 123456.7F, -3.0F, 1e-7F, 3.4e38F}) {
    const auto info = Make();
    info->MenuFontSize(size);
    EXPECT_EQ(info->MenuFontSize(), size);
  }
}

class FakeHookData : public AutomationObject {
 public:
  bool IsForm() const override { return false; }
};

TEST_F(LocalInfoTest, ToolTipDataIsHandedBackAndTracedTheSharedInstanceIsOnePerThread) {
  testing::ScratchFolder folder;
  const auto info = Make();
  const auto data = std::make_shared<FakeHookData>();
  const std::string log = testing::TraceOf(folder.File("trace.log"), [&] {
    info->ABSABToolTipModData();
    info->ABSABToolTipModData(data);
    EXPECT_EQ(info->ABSABToolTipModData(), data);
  });
  const std::string record =
      "\"LocalInfo\\.ABSABToolTipModData>> \\d\\d:\\d\\d:\\d\\d\"\r\n"
      "\"mABSABToolTipModData IS NOTHING : X\"\r\n"
      "\"LocalInfo\\.ABSABToolTipModData<< \\d\\d:\\d\\d:\\d\\d\"\r\n";
  EXPECT_TRUE(std::regex_match(log, std::regex(std::regex_replace(record, std::regex("X"), "True") +
                                               std::regex_replace(record, std::regex("X"), "False"))))
      << log;
  // The shared instance is one per thread, and the root objects' too.
  const auto shared = GetLocalInfo();
  EXPECT_EQ(GetLocalInfo(), shared);
  EXPECT_EQ(clsCommon::Create()->LocalInfo(), shared);
  EXPECT_NE(Make(), shared);
}

// ---- the theme ----

class ThemeTest : public testing::FolderTest {
 protected:
  // The theme of a fresh host of this main version with this INI file.
  std::shared_ptr<ITheme> ThemeOf(std::int32_t mainVersion, const std::string& iniText) {
    Restart(mainVersion, iniText);
    return MakeLocalInfo()->Theme();
  }
};

// Main version, INI file, and the style and band transparency read once when the theme is made.
TEST_F(ThemeTest, ReadFromTheIniFileWhenMade) {
  const char* const values = "[mod]\r\nStyle=5\r\nTransparentBands=True\r\n";
  for (const auto& [version, ini, style, transparent] :
       {std::tuple{3, values, 0, false}, std::tuple{4, "[Setup]\r\nX=1\r\n", 3, false},
        std::tuple{4, values, 5, true}, std::tuple{5, "[MOD]\r\nstyle=2\r\ntransparentbands=-1\r\n", 2, true},
        std::tuple{6, "[mod]\r\nStyle=7\r\nTransparentBands=false\r\n", 7, false},
        std::tuple{5, "[mod]\r\nStyle=wide\r\nTransparentBands=yes\r\n", 3, false},
        std::tuple{4, "[mod]\r\nStyle=4 ; wide\r\n", 4, false},
        std::tuple{5, "[mod]\r\nStyle=\r\nTransparentBands=\r\n", 3, false}}) {
    const auto theme = ThemeOf(version, ini);
    EXPECT_EQ(theme->MenuStyleId(), style) << version << ini;
    EXPECT_EQ(theme->TransparentBands(), transparent) << version << ini;
  }
  EXPECT_TRUE(notices_.notices.empty());
}

// Version 3 stores 0 and leaves the file alone; the theme keeps the main version it was made with.
TEST_F(ThemeTest, PutsWriteThroughFromVersion4OnAndNeedAMainVersion) {
  for (const std::int32_t version : {3, 4, 5}) {
    const auto theme = ThemeOf(version, "[mod]\r\nStyle=1\r\n");
    clsCommon::Create()->MainVer(version == 3 ? 5 : 3);
    theme->MenuStyleId(5);
    theme->TransparentBands(true);
    EXPECT_EQ(theme->MenuStyleId(), version == 3 ? 0 : 5);
    EXPECT_EQ(theme->TransparentBands(), version != 3);
    const std::string written =
        version == 3 ? "[mod]\r\nStyle=1\r\n" : "[mod]\r\nStyle=5\r\nTransparentBands=";
    EXPECT_EQ(testing::ReadBytes(Ini()), version == 3 ? written : written + "True\r\n") << version;
    theme->TransparentBands(false);
    EXPECT_EQ(testing::ReadBytes(Ini()), version == 3 ? written : written + "False\r\n") << version;
  }
  ResetLibraryState();  // without a main version the theme cannot be made
  const auto info = MakeLocalInfo();
  EXPECT_EQ(ErrorNumberOf([&] { info->Theme(); }), kLibErrNotInitialized);
  clsCommon::Create()->MainVer(3);
  EXPECT_EQ(info->Theme(), info->Theme());
  // Made, the theme takes no language; it follows later changes (LocalInfo only changes its font).
  EXPECT_EQ(CurrentLanguageId(), 0);
  ChangeUILanguage(kLangEnglishUK);
  EXPECT_EQ(CurrentLanguageId(), kLangEnglishUK);
}

// INIManager5 refuses values of 1024 characters or more: a message box, the defaults or what was read.
TEST_F(ThemeTest, AFailedReadShowsAMessageBoxAndKeepsWhatItHas) {
  const std::string tooLong(1100, '7');
  for (const auto& [ini, style] :
       {std::pair{"[mod]\r\nStyle=" + tooLong + "\r\nTransparentBands=True\r\n", 0},
        std::pair{"[mod]\r\nStyle=6\r\nTransparentBands=" + tooLong + "\r\n", 6}}) {
    notices_.notices.clear();
    const auto theme = ThemeOf(5, ini);
    EXPECT_EQ(theme->MenuStyleId(), style);
    EXPECT_FALSE(theme->TransparentBands());
    ASSERT_EQ(notices_.notices.size(), 1U);
    EXPECT_EQ(notices_.icons.back(), platform::NoticeIcon::kCriticalStop);
    EXPECT_TRUE(notices_.notices.front().starts_with(
        "QlxWCommon: Paraméterfájl elérési hiba!\r\n-2147221502 LoadINIValueByKey2 data size error"))
        << notices_.notices.front();
  }
}

// Texts that convert, with their numbers, and texts that do not, which leave the value as it was.
TEST(TextToLong, AsAutomationConvertsIt) {
  for (const auto& [text, expected] :
       {std::pair{"5", 5}, std::pair{" -12 ", -12}, std::pair{"+3", 3}, std::pair{"2.5", 2},
        std::pair{"3.5", 4}, std::pair{"-2.5", -2}, std::pair{"1e3", 1000}, std::pair{"&H10", 16},
        std::pair{"&hFFFFFFFF", -1}, std::pair{"&O17", 15}, std::pair{"2147483647", 2147483647},
        std::pair{"-2147483648", -2147483647 - 1}}) {
    std::int32_t value = 0;
    EXPECT_TRUE(TryTextToLong(text, value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
  for (const char* text :
       {"2147483648", "", "   ", "NULL", "5x", "&H", "&HG", "&H100000000", "nan", "inf", "1e400"}) {
    std::int32_t value = -77;
    EXPECT_FALSE(TryTextToLong(text, value)) << text;
    EXPECT_EQ(value, -77) << text;
  }
}

}  // namespace
}  // namespace qlxw
