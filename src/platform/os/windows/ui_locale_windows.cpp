#include "os/ui_locale.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

// The user's UI language as a locale name ("hu-HU", "sr-Latn-RS").
std::string SystemUiLocaleName() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LANGID language = GetUserDefaultUILanguage();
  if (LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) == 0) {
    return {};
  }
  return Utf8FromWide(name);
}

}  // namespace qlxw::platform
