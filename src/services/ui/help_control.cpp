#include "ui/help_control.h"

#include <optional>

#include "language/localized_strings.h"
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
