#include "language/language_runtime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "language/language_subscription.h"
#include "language/localized_strings.h"
#include "tests/support/folder_test_support.h"
#include "tests/support/test_support.h"

namespace qlxw {
namespace {

using testing::ScopedEnvironment;

// sr_RS is Cyrillic by default: not one of the family's languages.
TEST(LocaleNames, MapToTheFamilysLanguages) {
  const std::pair<const char*, std::int32_t> locales[] = {
      {"hu_HU.UTF-8", 1038}, {"en-GB", 2057},      {"ro_RO", 1048},     {"vi_VN.UTF-8", 1066},
      {"sr_RS@latin", 2074}, {"sr-Latn-RS", 2074}, {"SR_LATN", 2074},   {"sr_RS", 1038},
      {"C.UTF-8", 1038},     {"", 1038},           {"hungarian", 1038}, {"ru_RU@latin", 1038}};
  for (const auto& [locale, language] : locales) {
    EXPECT_EQ(LanguageIdFromLocaleName(locale), language) << locale;
  }
}

class StartupLanguage : public testing::FreshLibraryState {};

// QLXW_LANG, LC_ALL, LC_MESSAGES and LANG (nullptr: unset), and the language at start: a number in
// QLXW_LANG, unchecked (SetCurrentLanguage, not the runtime, makes it ours), else the POSIX locale
// variables in their order; Windows asks the system for the UI language.
TEST_F(StartupLanguage, NumericQlxwLangElseTheLocaleVariablesWhereTheRuntimeStarts) {
  using Row = std::tuple<const char*, const char*, const char*, const char*, std::int32_t>;
  for (const auto& [qlxw, all, messages, lang, language] : {
         Row{"2057", "ro_RO.UTF-8", nullptr, nullptr, 2057}, Row{"1031", "ro_RO", nullptr, nullptr, 1031},
#if !defined(_WIN32)
             Row{"", nullptr, "vi_VN.UTF-8", "en_GB.UTF-8", kLangVietnamese},
             Row{"english", nullptr, "vi_VN", "en_GB", kLangVietnamese},
             Row{"2057x", nullptr, "vi_VN", "en_GB", kLangVietnamese},
             Row{" 2057", nullptr, "vi_VN", "en_GB", kLangVietnamese},
             Row{nullptr, "ro_RO", "vi_VN", "en_GB", kLangRomanian},
             Row{nullptr, nullptr, nullptr, "en_GB.UTF-8", kLangEnglishUK},
#endif
       }) {
    const ScopedEnvironment variables[] = {
        {"QLXW_LANG", qlxw}, {"LC_ALL", all}, {"LC_MESSAGES", messages}, {"LANG", lang}};
    EXPECT_EQ(StartupLanguageId(), language) << (qlxw == nullptr ? "-" : qlxw);
  }
  // The runtime starts in the startup language.
  const ScopedEnvironment lang("QLXW_LANG", "1066");
  const LanguageSubscription subscription;
  EXPECT_EQ(subscription.LanguageID(), kLangVietnamese);
  EXPECT_EQ(CurrentLanguageId(), 0);  // subscribing alone changes nothing
  subscription.AdoptRuntimeLanguage();
  EXPECT_EQ(CurrentLanguageId(), kLangVietnamese);
}

class LanguageChange : public testing::FreshLibraryState {};

TEST_F(LanguageChange, EverySubscriptionOfTheThreadSetsTheCurrentLanguageNoneLeavesIt) {
  SetCurrentLanguage(kLangEnglishUK, {});
  ChangeUILanguage(kLangRomanian);
  EXPECT_EQ(CurrentLanguageId(), kLangEnglishUK);
  EXPECT_EQ(ThisThreadLanguageRuntime()->LanguageID(), kLangRomanian);
  const LanguageSubscription first;
  const LanguageSubscription second;
  ChangeUILanguage(kLangVietnamese);
  ChangeUILanguage(kLangRomanian);
  ChangeUILanguage(kLangRomanian);  // the same again changes nothing
  EXPECT_EQ(CurrentLanguageId(), kLangRomanian);
  EXPECT_EQ(first.LanguageID(), kLangRomanian);
  EXPECT_EQ(second.Language(), "Romanian");
  ChangeUILanguage(1031);
  EXPECT_EQ(CurrentLanguageId(), kLangHungarian);
  EXPECT_EQ(first.LanguageID(), 1031);  // the runtime keeps what the host said
  // Other threads are not notified.
  std::int32_t seen = -1;
  std::thread other([&] {
    const LanguageSubscription there;
    ChangeUILanguage(kLangRomanian);
    seen = CurrentLanguageId();
  });
  other.join();
  EXPECT_EQ(seen, kLangRomanian);
  EXPECT_EQ(CurrentLanguageId(), kLangHungarian);
}

TEST_F(LanguageChange, HandlersRunInSubscriptionOrderWithIdAndNameAndMayEndOrAddSubscriptions) {
  std::vector<std::string> calls;
  const LanguageSubscription a([&](std::int32_t id, const std::string& name) {
    calls.push_back("a:" + std::to_string(id) + ":" + name);
  });
  const LanguageSubscription b(
      [&](std::int32_t id, const std::string&) { calls.push_back("b:" + std::to_string(id)); });
  ChangeUILanguage(kLangEnglishUK);
  EXPECT_EQ(calls, (std::vector<std::string>{"a:2057:English (United Kingdom)", "b:2057"}));
  EXPECT_EQ(CurrentLanguageId(), 0);  // custom handlers decide for themselves
  // Handlers may end or add subscriptions.
  int laterCalls = 0;
  std::unique_ptr<LanguageSubscription> later;
  std::vector<std::unique_ptr<LanguageSubscription>> added;
  const LanguageSubscription first([&](std::int32_t, const std::string&) {
    later.reset();
    added.push_back(std::make_unique<LanguageSubscription>());
  });
  later = std::make_unique<LanguageSubscription>([&](std::int32_t, const std::string&) { ++laterCalls; });
  ChangeUILanguage(kLangVietnamese);
  EXPECT_EQ(laterCalls, 0);  // ended before its turn
  EXPECT_EQ(later, nullptr);
  ASSERT_EQ(added.size(), 1u);
  ChangeUILanguage(kLangRomanian);  // the one added last time now follows too
  EXPECT_EQ(CurrentLanguageId(), kLangRomanian);
}

}  // namespace
}  // namespace qlxw
