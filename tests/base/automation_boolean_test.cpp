#include "os/text_to_boolean.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/folder_test_support.h"
#include "text/automation_boolean.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qlxw {
namespace {

struct BooleanText {
  const char* text;
  std::optional<bool> expected;  // none: not a Boolean
};

// What the automation conversion answers with the United States number format ("." "," "$"), as
// Windows' own conversion gave it ("\xC2\xA0" is the no-break space).
const std::vector<BooleanText> kUnitedStatesTable = [] {
  std::vector<BooleanText> rows;
  for (const char* text :
       {"True", "tRuE", "#TRUE#", "1",   "-1",  " 1 ",  "\xC2\xA0\x31", "- 1",  "1-",  "(1)", "0.5", ".5",
        "5.",   "0,5",  "1,000",  "1e3", "&H1", "&HFF", " &H1 ",        "-&H1", "&O7", "$1",  "1$"}) {
    rows.push_back({text, true});
  }
  for (const char* text :
       {"FALSE", "#FALSE#", "0", "\t0\t", "+0", "(0)", "0.0", "0,000", "0e5", "1e-400", "&h0", "&o0", "$0"}) {
    rows.push_back({text, false});
  }
  for (const char* text :
       {"#true#", " true", "true ", "yes", "igaz", "",    " ",   "--1", "1 2", ".",        "1.5.5",
        ",1",     "1E",    "1e400", "&H",  "&H 1", "&O8", "&B1", "0x1", "inf", "infinity", "nan"}) {
    rows.push_back({text, std::nullopt});
  }
  return rows;
}();

TEST(TextToBoolean, FollowsTheAutomationConversion) {
  for (const BooleanText& row : kUnitedStatesTable) {
    EXPECT_EQ(AutomationTextToBoolean(row.text, NumberSymbols{}), row.expected) << "[" << row.text << "]";
  }
}

TEST(TextToBoolean, HonoursTheUsersNumberSymbols) {
  const NumberSymbols hungarian{",", "\xC2\xA0", "Ft"};
  for (const BooleanText& row : {BooleanText{"0,5", true}, BooleanText{"0,0", false}, BooleanText{"0.5", {}},
                                 BooleanText{"1\xC2\xA0\x30\x30\x30", true}, BooleanText{"Ft 0", false},
                                 BooleanText{"$1", {}}, BooleanText{"1 Ft", true}}) {
    EXPECT_EQ(AutomationTextToBoolean(row.text, hungarian), row.expected) << "[" << row.text << "]";
  }
  const NumberSymbols none{".", "", ""};  // a locale without thousands separator and currency
  EXPECT_EQ(AutomationTextToBoolean("1,000", none), std::nullopt);
  EXPECT_EQ(AutomationTextToBoolean("$1", none), std::nullopt);
}

#ifdef _WIN32
// The table above against the system's own conversion, when the user's format is the table's.
TEST(TextToBoolean, WindowsConversionAgreesWithTheTable) {
  wchar_t decimal[8] = {};
  wchar_t thousands[8] = {};
  wchar_t currency[8] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands, 8);
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SCURRENCY, currency, 8);
  if (std::wstring(decimal) != L"." || std::wstring(thousands) != L"," || std::wstring(currency) != L"$") {
    GTEST_SKIP() << "the user's number format is not the table's";
  }
  for (const BooleanText& row : kUnitedStatesTable) {
    EXPECT_EQ(platform::SystemTextToBoolean(row.text), row.expected) << "[" << row.text << "]";
  }
}
#else
TEST(TextToBoolean, PosixConversionUsesTheLocalesSymbols) {
  const testing::ScopedEnvironment locale("LC_ALL", "C");
  // The C locale has neither a thousands separator nor a currency symbol.
  for (const BooleanText& row : {BooleanText{"0.5", true}, BooleanText{"&H0", false},
                                 BooleanText{"1,000", {}}, BooleanText{"$1", {}}, BooleanText{"inf", {}}}) {
    EXPECT_EQ(platform::SystemTextToBoolean(row.text), row.expected) << "[" << row.text << "]";
  }
}
#endif

}  // namespace
}  // namespace qlxw
