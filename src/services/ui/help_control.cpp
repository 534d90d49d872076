#include "ui/help_control.h"

#include <optional>
#include <utility>
#include <vector>

#include "diag/trace.h"
#include "errors/lib_error.h"
#include "language/localized_strings.h"
#include "os/dde.h"
#include "os/file_association.h"
#include "os/programs.h"
#include "os/thread_state.h"
#include "text/case_fold.h"
#include "ui/help_dictionary.h"
#include "ui/page_viewers.h"

namespace qlxw {
namespace {

struct HelpState {
  std::string dictionaryFile;
  std::string pdfFile;
  std::shared_ptr<AutomationObject> ddeLabel;  // kept for the host; the DDE exchange needs no label
  std::optional<HelpDictionary> dictionary;    // none until read
};

using HelpStateSlot = platform::ThreadState<HelpState, platform::EndStage::kSettings>;

HelpState& State() {
  return HelpStateSlot::Get();
}

constexpr std::int16_t kFirstPage = 1;
constexpr std::int32_t kStringFileAccessError = 61;
constexpr std::int32_t kStringNoPdfReader = 62;
constexpr std::int32_t kLastFailureCode = 32;
constexpr std::string_view kViewerService = "Acroview";
constexpr std::string_view kViewerTopic = "Control";

void SendToViewer(const std::string& command) {
  platform::DdeExecute(kViewerService, kViewerTopic, command, kViewerDdeTimeoutMs);
}

}  // namespace

HelpControl::HelpControl() {
  EnsureStringTables();
  language_.AdoptRuntimeLanguage();
}

void HelpControl::Init(const std::string& dictionaryFile, const std::string& pdfFile,
                       std::shared_ptr<AutomationObject> ddeLabel) {
  if (!ddeLabel || !ddeLabel->IsDdeLabel()) {
    RaiseAutomationError(kErrTypeMismatch);
  }
  Init(dictionaryFile, pdfFile);
  State().ddeLabel = std::move(ddeLabel);
}

void HelpControl::Init(const std::string& dictionaryFile, const std::string& pdfFile) {
  HelpState& state = State();
  state.dictionaryFile = dictionaryFile;
  state.pdfFile = pdfFile;
  state.dictionary.reset();
}

bool HelpControl::AcrobatLookup(const std::string& key) const {
  return AcrobatLookupByFile(State().pdfFile, key);
}

bool HelpControl::AcrobatLookupByFile(const std::string& pdfFullName, const std::string& key) const {
  Trace("HelpControl.AcrobatLookupByFile >> ", kTraceTime);
  Trace("HelpControl.AcrobatLookupByFile 1 PDFFullName: ", pdfFullName, " sKey: ", key);
  bool shown = false;
  try {
    const std::string viewer = GetPDFViewerExeName(pdfFullName);
    Trace("HelpControl.AcrobatLookupByFile 2 ", kTraceTime);
    if (!viewer.empty()) {
      if (platform::DdeAvailable()) {
        Trace("HelpControl.AcrobatLookupByFile 3 ", kTraceTime);
        platform::StartProgram(viewer, {});
        Trace("HelpControl.AcrobatLookupByFile 4 ", kTraceTime);
        SendToViewer(DocOpenCommand(pdfFullName));
        Trace("HelpControl.AcrobatLookupByFile 5 ", kTraceTime);
        SendToViewer(DocGoToCommand(pdfFullName, PageOf(FoldCase(key)) - 1));
      } else {
        // No DDE here: a viewer that takes the page on its command line is started at the page, any
        // other one with the manual alone, which it opens at its start.
        const std::int16_t page = PageOf(FoldCase(key));
        const auto arguments = PageArguments(viewer, pdfFullName, page);
        Trace("HelpControl.AcrobatLookupByFile 3 viewer: ", viewer,
              arguments ? std::string_view(" started at the page: ")
                        : std::string_view(" takes no page: started at the first page "),
              kTraceTime);
        platform::StartProgram(viewer, arguments.value_or(std::vector<std::string>{pdfFullName}));
      }
      Trace("HelpControl.AcrobatLookupByFile 6 ", kTraceTime);
      shown = true;
    }
    Trace("HelpControl.AcrobatLookupByFile <<", kTraceTime);
  } catch (const LibError& error) {
    Trace("HelpControl.AcrobatLookupByFile << ERROR! : ", error.Description());
    shown = false;
  }
  return shown;
}

std::string HelpControl::GetPDFViewerExeName(const std::string& sampleFile) const {
  platform::ProgramForFile found = platform::FindProgramForFile(sampleFile);
  if (found.code == platform::kAssociationNone) {
    RaiseLibError(kLibErrRepeatedOrBadData, {},
                  GetLocalizedString(kStringNoPdfReader, "A pdf olvasó nem található!"));
  }
  if (found.code <= kLastFailureCode) {
    std::string description = GetLocalizedString(kStringFileAccessError, "Fájlelérési hiba! : ");
    description += std::to_string(found.code);
    RaiseLibError(kLibErrNotInitialized, {}, std::move(description));
  }
  return std::move(found.program);
}

std::string HelpControl::DictionaryFile() const {
  return State().dictionaryFile;
}

std::string HelpControl::PDFFile() const {
  return State().pdfFile;
}

std::int16_t HelpControl::PageOf(const std::string& key) const {
  HelpState& state = State();
  if (!state.dictionary) {
    state.dictionary = HelpDictionary::Load(state.dictionaryFile);
  }
  const std::optional<std::int16_t> page = state.dictionary ? state.dictionary->PageOf(key) : std::nullopt;
  return page.value_or(kFirstPage);
}

}  // namespace qlxw
