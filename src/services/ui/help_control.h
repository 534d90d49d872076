#pragma once
// HelpControl: opens the host's PDF manual at the page of a help key. What Init stores and the
// dictionary it names are shared by every HelpControl of the thread.
#include <cstdint>
#include <memory>
#include <string>

#include "language/language_subscription.h"
#include "values/automation.h"

namespace qlxw {

// How long the viewer has to answer each DDE command: 1000 tenths of a second.
inline constexpr std::uint32_t kViewerDdeTimeoutMs = 1000 * 100;

class HelpControl {
 public:
  // Sets up the string tables and takes the runtime's language, as the language-following classes do.
  HelpControl();

  // Stores the files and the host's label for every HelpControl of the thread; the next lookup reads
  // the new dictionary. Anything but a label control (none included) fails with type mismatch (13).
  void Init(const std::string& dictionaryFile, const std::string& pdfFile,
            std::shared_ptr<AutomationObject> ddeLabel);
  // The same without a label: what a host without DDE controls (and the qlxw command) uses.
  void Init(const std::string& dictionaryFile, const std::string& pdfFile);

  // AcrobatLookupByFile with the PDF file given to Init.
  bool AcrobatLookup(const std::string& key) const;
  // Starts the viewer of the PDF file and shows the key's page: through DDE where the platform has it
  // (the DocOpen and DocGoTo commands to "Acroview|Control"), elsewhere by starting a viewer that takes
  // the page on its command line. True when that was done; any failure is traced and gives false.
  bool AcrobatLookupByFile(const std::string& pdfFullName, const std::string& key) const;

  // The full path of the program the system opens the file with. No program fails with 0x80040002 and
  // localized string 62; any other failure of the system's answer with 0x80040003, localized string 61
  // and the system's code.
  std::string GetPDFViewerExeName(const std::string& sampleFile) const;

  std::string DictionaryFile() const;
  std::string PDFFile() const;

  // The page of the key, counted from 1: the dictionary is read when none is loaded (a missing file is
  // looked for again next time); a key it does not hold, one stored with a page below 1, or no
  // dictionary, gives page 1.
  std::int16_t PageOf(const std::string& key) const;

 private:
  LanguageSubscription language_;
};

}  // namespace qlxw
