// A C++ host's first steps with QlxWCommon: the root object, the INI file, a value written and read
// back, a default written back, an error with its number and text. Built against the installed
// library (find_package or pkg-config); docs/api.md shows it.
//   settings INI-FILE
#include <cstdio>
#include <iostream>
#include <string>

#include <qlxw/qlxw.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: settings INI-FILE\n";
    return 2;
  }
  qlxw::ChangeUILanguage(qlxw::kLangEnglishUK);  // texts in English; the default follows the locale
  auto root = qlxw::clsCommon::Create();
  root->MainVer(5);            // INIManager5 behind the root object
  root->INIFileName(argv[1]);  // set once per thread
  root->WriteINIValueByKey("Setup", std::string("Units"), std::string("metric"));
  std::cout << "Units: " << root->LoadINIValueByKey("Setup", "Units") << "\n";
  std::cout << "Scale: " << root->INI()->LoadINIString("Setup", "Scale", "1000") << "\n";
  try {
    root->INIFileName("other.ini");  // a second name is refused
  } catch (const qlxw::LibError& error) {
    std::printf("Error %X: %s\n", static_cast<unsigned>(error.Number()), error.Description().c_str());
  }
  qlxw::ResetLibraryState();  // the default of Scale is written to the file now
  return 0;
}
