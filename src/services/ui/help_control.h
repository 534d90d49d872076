#pragma once
// HelpControl: opens the host's PDF manual at the page of a help key. What Init stores and the
// dictionary it names are shared by every HelpControl of the thread.
#include <cstdint>
#include <string>

#include "language/language_subscription.h"

namespace qlxw {

class HelpControl {
 public:
  // Sets up the string tables and takes the runtime's language, as the language-following classes do.
  HelpControl();

  // Stores the files for every HelpControl of the thread; the next lookup reads the new dictionary.
  void Init(const std::string& dictionaryFile, const std::string& pdfFile);

  // The full path of the program the system opens the file with. No program fails with 0x80040002 and
  // localized string 62; any other failure of the system's answer with 0x80040003, localized string 61
  // and the system's code.
  std::string GetPDFViewerExeName(const std::string& sampleFile) const;

  std::string DictionaryFile() const;
  std::string PDFFile() const;

  // The page of the key, counted from 1: the dictionary is read when none is loaded (a missing file is
  // looked for again next time); a key it does not hold, or no dictionary, gives page 1.
  std::int16_t PageOf(const std::string& key) const;

 private:
  LanguageSubscription language_;
};

}  // namespace qlxw
