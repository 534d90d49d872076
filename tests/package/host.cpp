// A host of the installed library: writes a setting, reads it back, and prints it with an English text.
// Proof that headers, library and string tables all arrived.
#include <iostream>
#include <string>

#include <qlxw/qlxw.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: host INI-FILE\n";
    return 2;
  }
  qlxw::EnsureStringTables();
  qlxw::SetCurrentLanguage(qlxw::kLangEnglishUK, {});
  auto root = qlxw::clsCommon::Create();
  root->MainVer(4);
  root->INIFileName(argv[1]);
  root->WriteINIValueByKey("Setup", std::string("Units"), std::string("metric"));
  std::cout << qlxw::GetLocalizedString(2, "Hiba") << " " << root->LoadINIValueByKey("Setup", "Units")
            << "\n";
  return 0;
}
