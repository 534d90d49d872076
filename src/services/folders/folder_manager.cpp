#include "folders/folder_manager.h"

#include <algorithm>

#include "config/ini_file.h"
#include "config/shared_ini.h"
#include "errors/lib_error.h"
#include "language/localized_strings.h"
#include "os/file_system.h"
#include "os/shell_folders.h"
#include "profile/profile_write_error.h"
#include "text/case_fold.h"
#include "text/tags.h"

namespace qlxw {
namespace {

constexpr const char* kFoldersSection = "Folders";

[[noreturn]] void RaiseRing() {
  RaiseLibError(kLibErrNotInitialized, {}, GetLocalizedString(73, "Az útvonal kifejtése sikertelen!"));
}

}  // namespace

FolderManager::FolderManager() {
  EnsureStringTables();
  language_.AdoptRuntimeLanguage();
  keys_ = std::make_shared<Keys>();
  table_ = BuildDefaults();
}

std::string FolderManager::VariableOf(std::int32_t index) const {
  if (index == egsPath_NONE) {
    return {};
  }
  return "<" + keys_->Item(index)->Key() + ">";
}

void FolderManager::AddEntry(Table& table, std::int32_t base, std::int32_t id, const std::string& sub) const {
  const std::string definition = VariableOf(base) + (sub.empty() ? keys_->Item(id)->Value() : sub);
  table.Add(definition, VariableOf(id));
}

FolderManager::Table FolderManager::BuildDefaults() const {
  Table table;
  AddEntry(table, egsPath_NONE, egsPath_Program, platform::LibraryFolder());
  AddEntry(table, egsPath_NONE, egsPath_UserFolder, platform::SpecialFolderPath(platform::kCsidlPersonal));
  AddEntry(table, egsPath_NONE, egsPath_WorkSpace,
           platform::SpecialFolderPath(platform::kCsidlCommonAppData));
  for (const EnumFoldersPaths id : {egsPath_Alap_Allomanyok, egsPath_Font25, egsPath_Help,
                                    egsPath_Nyomtatvany, egsPath_QD, egsPath_Tablazatok, egsPath_Temp}) {
    AddEntry(table, egsPath_QlxWSystem, id, {});
  }
  for (const EnumFoldersPaths id : {egsPath_Aranykorona, egsPath_Formatum, egsPath_Teruletszamitas}) {
    AddEntry(table, egsPath_Tablazatok, id, {});
  }
  AddEntry(table, egsPath_UserFolder, egsPath_SaveFolder, {});
  AddEntry(table, egsPath_QlxWSystem, egsPath_Template, {});
  AddEntry(table, egsPath_WorkSpace, egsPath_QlxWSystem, {});
  return table;
}

std::string FolderManager::Expand(const std::string& definition) const {
  std::vector<std::string> active;
  return Expand(definition, active);
}

// Recursive as the definitions nest; each level works out a variable no outer level is working out,
// so the depth is at most the number of folders.
// NOLINTNEXTLINE(misc-no-recursion)
std::string FolderManager::Expand(std::string text, std::vector<std::string>& active) const {
  std::int32_t budget = table_.Count();
  const std::size_t outer = active.size();
  while (IsTag(text) && budget > 0) {
    // A variable that an outer expansion is already working out would expand into itself for ever.
    if (std::find(active.begin(), active.begin() + static_cast<std::ptrdiff_t>(outer), FoldCase(text)) !=
        active.begin() + static_cast<std::ptrdiff_t>(outer)) {
      RaiseRing();
    }
    active.push_back(FoldCase(text));
    const std::string previous = text;
    text = table_.Item(text);
    if (text == previous) {
      RaiseLibError(kLibErrNotInitialized, {},
                    GetLocalizedString(71, "Az útvonal nincs konfigurálva : ") + text + " ");
    }
    --budget;
  }
  if (budget < 1) {
    RaiseRing();
  }
  std::string tag;
  if (FindTag(text, tag) == 0) {
    active.resize(outer);
    return text;
  }
  const std::vector<std::string> pieces = SplitTags(text);
  std::string result = Expand(pieces.front(), active);
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    result = platform::FileSystemObject{}.BuildPath(result, Expand(pieces[i], active));
  }
  active.resize(outer);
  return result;
}

std::string FolderManager::StoredValue(std::int32_t index) const {
  return table_.Item(VariableOf(index));
}

std::string FolderManager::AbsolutePath(std::int32_t index) const {
  return Expand(StoredValue(index));
}

std::pair<std::int32_t, std::string> FolderManager::FindBaseFolder(const std::string& path,
                                                                   std::int32_t excluded) const {
  std::int32_t best = egsPath_NONE;
  std::string bestPath;
  const char separator = platform::PathSeparator();
  for (std::int32_t i = 1; i <= Count(); ++i) {
    if (i == excluded) {
      continue;
    }
    std::string candidate = AbsolutePath(i);
    if (candidate.size() > bestPath.size() && candidate.size() <= path.size() &&
        EqualsNoCase(std::string_view(path).substr(0, candidate.size()), candidate) &&
        (path.size() == candidate.size() || path[candidate.size()] == separator)) {
      best = i;
      bestPath = std::move(candidate);
    }
  }
  return {best, bestPath};
}

std::string FolderManager::MakeRelative(const std::string& path, std::int32_t excluded) const {
  const auto [best, bestPath] = FindBaseFolder(path, excluded);
  if (best == egsPath_NONE) {
    return path;
  }
  std::string rest = path.substr(bestPath.size());
  if (!rest.empty()) {
    rest.erase(0, 1);  // the separator after the base folder
  }
  return VariableOf(best) + rest;
}

void FolderManager::SetPath(std::int32_t index, const std::string& absolutePath, bool forceAbsolute) {
  const std::string definition = forceAbsolute ? absolutePath : MakeRelative(absolutePath, index);
  const std::string variable = VariableOf(index);
  table_.Remove(variable);
  AddEntry(table_, egsPath_NONE, index, definition);
}

std::string FolderManager::SetDefault(std::int32_t index) {
  const Table fresh = BuildDefaults();
  SetPath(index, fresh.Item(VariableOf(index)), true);
  return AbsolutePath(index);
}

std::array<EnumFoldersPaths, 3> FolderManager::GetSerializables() noexcept {
  return {egsPath_SaveFolder, egsPath_Template, egsPath_Temp};
}

INIManagerInterface& FolderManager::Ini() const {
  if (!ini_) {
    ini_ = GetRootObjectINI();
  }
  return *ini_;
}

std::size_t FolderManager::LongestSavedDefinition() const {
  return dynamic_cast<const INIManager5*>(&Ini()) != nullptr ? kGrowingBufferLongestValue
                                                             : kFixedBufferLongestValue;
}

// A definition that LoadFromINI could not read back whole would stop every later load with an error
// (or cut the path): it is not written, as a failed write is not.
void FolderManager::SaveToINI() {
  const std::size_t longest = LongestSavedDefinition();
  for (const EnumFoldersPaths id : GetSerializables()) {
    const std::string definition = StoredValue(id);
    if (INIValueLength(definition) > longest) {
      NoteProfileWriteRefused(WriteRefusal::kTooLong);
      continue;
    }
    Ini().WriteINIValueByKey(kFoldersSection, keys_->Item(id)->Key(), definition);
  }
}

void FolderManager::LoadFromINI() {
  for (const EnumFoldersPaths id : GetSerializables()) {
    const std::string value = Ini().LoadINIString(kFoldersSection, keys_->Item(id)->Key(), StoredValue(id));
    SetPath(id, value, true);
  }
}

}  // namespace qlxw
