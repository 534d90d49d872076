#pragma once
// Localized texts by string id in the current user-interface language, one current language per thread.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlxw {

inline constexpr std::int32_t kLangHungarian = 1038;
inline constexpr std::int32_t kLangVietnamese = 1066;
inline constexpr std::int32_t kLangEnglishUK = 2057;
inline constexpr std::int32_t kLangPseudo = 100000;
inline constexpr std::int32_t kLangSerbianLatin = 2074;
inline constexpr std::int32_t kLangRomanian = 1048;

// In this order: SetCurrentLanguage takes the first equal entry.
inline constexpr std::array<std::int32_t, 6> SupportedLanguageIds = {
    kLangHungarian, kLangVietnamese, kLangEnglishUK, kLangPseudo, kLangSerbianLatin, kLangRomanian};

// Sets up the string tables on the first call on a thread; later calls do nothing.
void EnsureStringTables();

// The text of the id in the current language; empty when the language's table has no such entry. With no
// language set yet on the thread, the language runtime's current language is adopted first.
// `baseText` is the Hungarian text, written at call sites for readers only: it is never used.
std::string GetLocalizedString(std::int32_t id, std::string_view baseText);

// Any id that is not supported, 0 and negative ids included, selects Hungarian. The name is unused.
void SetCurrentLanguage(std::int32_t languageId, std::string_view language);

// 0 until the first SetCurrentLanguage or lookup on the thread, then one of SupportedLanguageIds.
std::int32_t CurrentLanguageId();

// The ids the current language's table holds, ascending.
std::vector<std::int32_t> LocalizedStringIds();

}  // namespace qlxw
