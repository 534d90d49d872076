#include "ui/help_control.h"

#include <optional>

#include "errors/lib_error.h"
#include "language/localized_strings.h"
#include "os/file_association.h"
#include "os/thread_state.h"
#include "ui/help_dictionary.h"

namespace qlxw {
namespace {

struct HelpState {
  std::string dictionaryFile;
  std::string pdfFile;
  std::optional<HelpDictionary> dictionary;  // none until read
};

using HelpStateSlot = platform::ThreadState<HelpState, platform::EndStage::kSettings>;

HelpState& State() {
  return HelpStateSlot::Get();
}

constexpr std::int16_t kFirstPage = 1;
constexpr std::int32_t kStringFileAccessError = 61;
constexpr std::int32_t kStringNoPdfReader = 62;
constexpr std::int32_t kLastFailureCode = 32;

}  // namespace

HelpControl::HelpControl() {
  EnsureStringTables();
  language_.AdoptRuntimeLanguage();
}

void HelpControl::Init(const std::string& dictionaryFile, const std::string& pdfFile) {
  HelpState& state = State();
  state.dictionaryFile = dictionaryFile;
  state.pdfFile = pdfFile;
  state.dictionary.reset();
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
