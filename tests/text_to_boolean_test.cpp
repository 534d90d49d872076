#include "os/text_to_boolean.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

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
// Windows' own conversion gave it.
constexpr BooleanText kUnitedStatesTable[] = {
    {"True", true},
    {"tRuE", true},
    {"FALSE", false},
    {"#TRUE#", true},
    {"#FALSE#", false},
    {"#true#", {}},
    {" true", {}},
    {"true ", {}},
    {"yes", {}},
    {"igaz", {}},
    {"", {}},
    {" ", {}},
    {"1", true},
    {"0", false},
    {"-1", true},
    {" 1 ", true},
    {"\t0\t", false},
    {"\xC2\xA0"
     "1",
     true},
    {"+0", false},
    {"- 1", true},
    {"1-", true},
    {"(1)", true},
    {"(0)", false},
    {"--1", {}},
    {"1 2", {}},
    {"0.0", false},
    {"0.5", true},
    {".5", true},
    {"5.", true},
    {".", {}},
    {"1.5.5", {}},
    {"0,5", true},
    {"1,000", true},
    {"0,000", false},
    {",1", {}},
    {"1e3", true},
    {"0e5", false},
    {"1E", {}},
    {"1e400", {}},
    {"1e-400", false},
    {"&H1", true},
    {"&h0", false},
    {"&HFF", true},
    {"&H", {}},
    {"&H 1", {}},
    {" &H1 ", true},
    {"-&H1", true},
    {"&O7", true},
    {"&o0", false},
    {"&O8", {}},
    {"&B1", {}},
    {"0x1", {}},
    {"$1", true},
    {"$0", false},
    {"1$", true},
    {"inf", {}},
    {"infinity", {}},
    {"nan", {}},
};

TEST(TextToBoolean, FollowsTheAutomationConversion) {
  for (const BooleanText& row : kUnitedStatesTable) {
    EXPECT_EQ(AutomationTextToBoolean(row.text, NumberSymbols{}), row.expected) << "[" << row.text << "]";
  }
}

TEST(TextToBoolean, HonoursTheUsersNumberSymbols) {
  const NumberSymbols hungarian{",", "\xC2\xA0", "Ft"};
  for (const BooleanText& row :
       {BooleanText{"0,5", true}, BooleanText{"0,0", false}, BooleanText{"0.5", {}},
        BooleanText{"1\xC2\xA0"
                    "000",
                    true},
        BooleanText{"Ft 0", false}, BooleanText{"$1", {}}, BooleanText{"1 Ft", true}}) {
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
  const char* before = std::getenv("LC_ALL");
  const std::optional<std::string> saved =
      before == nullptr ? std::nullopt : std::optional<std::string>(before);
  setenv("LC_ALL", "C", 1);
  // The C locale has neither a thousands separator nor a currency symbol.
  for (const BooleanText& row : {BooleanText{"0.5", true}, BooleanText{"&H0", false},
                                 BooleanText{"1,000", {}}, BooleanText{"$1", {}}, BooleanText{"inf", {}}}) {
    EXPECT_EQ(platform::SystemTextToBoolean(row.text), row.expected) << "[" << row.text << "]";
  }
  if (saved) {
    setenv("LC_ALL", saved->c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
}
#endif

}  // namespace
}  // namespace qlxw
