// Prints an English text: proof that headers, library and string tables all arrived.
#include <iostream>

#include "language/localized_strings.h"

int main() {
  qlxw::EnsureStringTables();
  qlxw::SetCurrentLanguage(qlxw::kLangEnglishUK, {});
  std::cout << qlxw::GetLocalizedString(2, "Hiba") << "\n";
  return 0;
}
