#include "language/language_runtime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "language/language_subscription.h"
#include "language/localized_strings.h"
#include "test_support.h"

namespace qlxw {
namespace {

void SetEnv(const char* name, const char* value) {
#if defined(_WIN32)
  _putenv_s(name, value == nullptr ? "" : value);
#else
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}

// Sets environment variables for one test and puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    SetEnv(name, value);
  }
  ~ScopedEnv() { SetEnv(name_.c_str(), old_ ? old_->c_str() : nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

struct LocaleCase {
  const char* locale;
  std::int32_t language;
};

void PrintTo(const LocaleCase& row, std::ostream* out) {
  *out << '"' << row.locale << '"';
}

class LocaleNames : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleNames, MapToTheFamilysLanguages) {
  EXPECT_EQ(LanguageIdFromLocaleName(GetParam().locale), GetParam().language) << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(Table, LocaleNames,
                         ::testing::Values(LocaleCase{"hu_HU.UTF-8", 1038}, LocaleCase{"en_GB.UTF-8", 2057},
                                           LocaleCase{"en_US", 2057}, LocaleCase{"en-GB", 2057},
                                           LocaleCase{"ro_RO", 1048}, LocaleCase{"vi_VN.UTF-8", 1066},
                                           LocaleCase{"sr_RS@latin", 2074},
                                           LocaleCase{"sr_RS.UTF-8@latin", 2074},
                                           LocaleCase{"sr-Latn-RS", 2074}, LocaleCase{"SR_LATN", 2074},
                                           LocaleCase{"sr_RS", 1038},  // Cyrillic by default: not one of ours
                                           LocaleCase{"de_DE", 1038}, LocaleCase{"C", 1038},
                                           LocaleCase{"C.UTF-8", 1038}, LocaleCase{"POSIX", 1038},
                                           LocaleCase{"", 1038}, LocaleCase{"hungarian", 1038},
                                           LocaleCase{"ru_RU@latin", 1038}));

class StartupLanguage : public testing::FreshLibraryState {};

TEST_F(StartupLanguage, NumericQlxwLangWins) {
  const ScopedEnv lang("QLXW_LANG", "2057");
  const ScopedEnv locale("LC_ALL", "ro_RO.UTF-8");
  EXPECT_EQ(StartupLanguageId(), 2057);
}

TEST_F(StartupLanguage, QlxwLangIsPassedOnUnchecked) {
  const ScopedEnv lang("QLXW_LANG", "1031");
  EXPECT_EQ(StartupLanguageId(), 1031);  // the runtime reports it; SetCurrentLanguage makes it Hungarian
}

#if !defined(_WIN32)  // the POSIX locale variables; Windows asks the system for the UI language
TEST_F(StartupLanguage, FallsBackToLocaleWhenQlxwLangIsNotANumber) {
  for (const char* bad : {"", "english", "2057x", " 2057"}) {
    const ScopedEnv lang("QLXW_LANG", bad);
    const ScopedEnv all("LC_ALL", nullptr);
    const ScopedEnv messages("LC_MESSAGES", "vi_VN.UTF-8");
    EXPECT_EQ(StartupLanguageId(), kLangVietnamese) << '"' << bad << '"';
  }
}

TEST_F(StartupLanguage, LocaleVariablesInPosixOrder) {
  const ScopedEnv lang("QLXW_LANG", nullptr);
  const ScopedEnv langVar("LANG", "en_GB.UTF-8");
  {
    const ScopedEnv all("LC_ALL", "ro_RO");
    const ScopedEnv messages("LC_MESSAGES", "vi_VN");
    EXPECT_EQ(StartupLanguageId(), kLangRomanian);
  }
  const ScopedEnv all("LC_ALL", nullptr);
  const ScopedEnv messages("LC_MESSAGES", nullptr);
  EXPECT_EQ(StartupLanguageId(), kLangEnglishUK);
}

#endif

TEST_F(StartupLanguage, RuntimeStartsInTheStartupLanguage) {
  const ScopedEnv lang("QLXW_LANG", "1066");
  const LanguageSubscription subscription;
  EXPECT_EQ(subscription.LanguageID(), kLangVietnamese);
  EXPECT_EQ(CurrentLanguageId(), 0);  // subscribing alone changes nothing
  subscription.AdoptRuntimeLanguage();
  EXPECT_EQ(CurrentLanguageId(), kLangVietnamese);
}

class LanguageChange : public testing::FreshLibraryState {};

TEST_F(LanguageChange, EverySubscriptionSetsTheCurrentLanguage) {
  const LanguageSubscription first;
  const LanguageSubscription second;
  ChangeUILanguage(kLangRomanian);
  EXPECT_EQ(CurrentLanguageId(), kLangRomanian);
  EXPECT_EQ(first.LanguageID(), kLangRomanian);
  EXPECT_EQ(second.Language(), "Romanian");
  ChangeUILanguage(1031);
  EXPECT_EQ(CurrentLanguageId(), kLangHungarian);
  EXPECT_EQ(first.LanguageID(), 1031);  // the runtime keeps what the host said
}

TEST_F(LanguageChange, WithoutSubscriptionsTheCurrentLanguageStays) {
  SetCurrentLanguage(kLangEnglishUK, {});
  ChangeUILanguage(kLangRomanian);
  EXPECT_EQ(CurrentLanguageId(), kLangEnglishUK);
  EXPECT_EQ(ThisThreadLanguageRuntime()->LanguageID(), kLangRomanian);
}

TEST_F(LanguageChange, HandlersRunInSubscriptionOrderWithIdAndName) {
  std::vector<std::string> calls;
  const LanguageSubscription a([&](std::int32_t id, const std::string& name) {
    calls.push_back("a:" + std::to_string(id) + ":" + name);
  });
  const LanguageSubscription b(
      [&](std::int32_t id, const std::string&) { calls.push_back("b:" + std::to_string(id)); });
  ChangeUILanguage(kLangEnglishUK);
  EXPECT_EQ(calls, (std::vector<std::string>{"a:2057:English (United Kingdom)", "b:2057"}));
  EXPECT_EQ(CurrentLanguageId(), 0);  // custom handlers decide for themselves
}

TEST_F(LanguageChange, EndedSubscriptionsAreNotCalled) {
  int calls = 0;
  auto ended = std::make_unique<LanguageSubscription>([&](std::int32_t, const std::string&) { ++calls; });
  ChangeUILanguage(kLangEnglishUK);
  ended.reset();
  ChangeUILanguage(kLangRomanian);
  EXPECT_EQ(calls, 1);
}

TEST_F(LanguageChange, HandlerMayEndAnotherSubscription) {
  int laterCalls = 0;
  std::unique_ptr<LanguageSubscription> later;
  const LanguageSubscription first([&](std::int32_t, const std::string&) { later.reset(); });
  later = std::make_unique<LanguageSubscription>([&](std::int32_t, const std::string&) { ++laterCalls; });
  ChangeUILanguage(kLangEnglishUK);
  EXPECT_EQ(laterCalls, 0);
  EXPECT_EQ(later, nullptr);
}

TEST_F(LanguageChange, HandlerMaySubscribeAnother) {
  std::vector<std::unique_ptr<LanguageSubscription>> added;
  const LanguageSubscription first(
      [&](std::int32_t, const std::string&) { added.push_back(std::make_unique<LanguageSubscription>()); });
  ChangeUILanguage(kLangEnglishUK);
  ASSERT_EQ(added.size(), 1u);
  ChangeUILanguage(kLangRomanian);  // the one added last time now follows too
  EXPECT_EQ(CurrentLanguageId(), kLangRomanian);
}

TEST_F(LanguageChange, RepeatedSameLanguageLeavesItUnchanged) {
  const LanguageSubscription a;
  const LanguageSubscription b;
  const LanguageSubscription c;
  ChangeUILanguage(kLangVietnamese);
  ChangeUILanguage(kLangVietnamese);
  EXPECT_EQ(CurrentLanguageId(), kLangVietnamese);
}

TEST_F(LanguageChange, OtherThreadsAreNotNotified) {
  const LanguageSubscription here;
  ChangeUILanguage(kLangEnglishUK);
  std::int32_t seen = -1;
  std::thread other([&] {
    const LanguageSubscription there;
    ChangeUILanguage(kLangRomanian);
    seen = CurrentLanguageId();
  });
  other.join();
  EXPECT_EQ(seen, kLangRomanian);
  EXPECT_EQ(CurrentLanguageId(), kLangEnglishUK);
}

}  // namespace
}  // namespace qlxw
