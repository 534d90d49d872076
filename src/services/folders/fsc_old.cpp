#include "folders/fsc_old.h"

#include <array>
#include <string_view>

#include "diag/trace.h"
#include "errors/lib_error.h"
#include "folders/create_folders.h"
#include "folders/folder_ids.h"
#include "folders/folder_settings_store.h"
#include "language/localized_strings.h"
#include "os/file_system.h"
#include "os/notices.h"
#include "os/shell_folders.h"
#include "os/thread_state.h"

namespace qlxw {
namespace {

constexpr std::int32_t kRows = eLast;

struct LegacyRow {
  std::string path;
  std::string settingName;  // the store's name for the rows kept there
};

// One table for every instance on the thread.
struct LegacyFolderState {
  std::array<LegacyRow, kRows + 1> rows;  // 1..15; row 0 unused
};

using LegacyFolderSlot = platform::ThreadState<LegacyFolderState, platform::EndStage::kHostObjects>;

std::string& PathOf(std::int32_t lIx) {
  return LegacyFolderSlot::Get().rows[static_cast<std::size_t>(lIx)].path;
}

bool InTable(std::int32_t lIx) {
  return lIx >= eFirst && lIx <= eLast;
}

// The localized sub-folder name of a row; a backslash in it becomes the platform's separator.
std::string NameOf(std::int32_t stringId, std::string_view hungarian) {
  std::string name = GetLocalizedString(stringId, hungarian);
  for (char& c : name) {
    if (c == '\\') {
      c = platform::PathSeparator();
    }
  }
  return name;
}

struct Derived {
  std::int32_t stringId;
  std::string_view hungarian;
};

// Rows 4..14: below the program folder (4) or the system folder (the rest).
Derived DerivedRow(std::int32_t lIx) {
  switch (lIx) {
    case egsPath_QlxWSystem:
      return {51, "\\Rendszer"};
    case egsPath_Font25:
      return {20, "Font25"};
    case egsPath_Tablazatok:
      return {53, "Tablazatok"};
    case egsPath_Aranykorona:
      return {54, "Tablazatok\\Aranykorona"};
    case egsPath_Teruletszamitas:
      return {55, "Tablazatok\\Teruletszamitas"};
    case egsPath_Formatum:
      return {56, "Tablazatok\\Formatum\\1038"};
    case egsPath_Alap_Allomanyok:
      return {19, "Alap_allomanyok"};
    case egsPath_Temp:
      return {57, "Temp"};
    case egsPath_QD:
      return {58, "QD"};
    case egsPath_Nyomtatvany:
      return {21, "Nyomtatvany"};
    default:
      return {52, "Help"};
  }
}

std::string Documents() {
  return platform::SpecialFolderPath(platform::kCsidlPersonal);
}

}  // namespace

std::string LegacyFolderPath(std::int32_t lIx) {
  return InTable(lIx) ? PathOf(lIx) : std::string();
}

clsFSCOld::clsFSCOld() {
  Trace("clsFileSystemController.Class_Initialize >> ", kTraceTime);
  Trace("clsFileSystemController.Class_Initialize 1 ", kTraceTime);
  EnsureStringTables();
  Trace("clsFileSystemController.Class_Initialize 2 ", kTraceTime);
  Trace("clsFileSystemController.Class_Initialize 3 ", kTraceTime);
  Trace("clsFileSystemController.Class_Initialize ml_RuntimeSupport.LanguageID= ", language_.LanguageID());
  language_.AdoptRuntimeLanguage();
  Trace("clsFileSystemController.Class_Initialize 4 ", kTraceTime);
  LegacyFolderState& state = LegacyFolderSlot::Get();
  state.rows[egsPath_Template].settingName = "gsPath_Template";
  state.rows[egsPath_SaveFolder].settingName = "gsPath_SaveFolder";
  Trace("clsFileSystemController.Class_Initialize << ", kTraceTime);
}

void clsFSCOld::CreateDir(const std::string& path) {
  CreateDirTraced(path, "clsFSCOld");
}

void clsFSCOld::SetForIx(std::int32_t lIx, bool bDefaultsOnly) {
  if (!InTable(lIx)) {
    return;
  }
  Trace("clsFileSystemController.SetForIx>> ", kTraceTime);
  Trace("EnumFoldersPaths.", FolderIdentifierName(lIx));
  switch (lIx) {
    case egsPath_Template:
      SetTemplateFolder(bDefaultsOnly);
      break;
    case egsPath_SaveFolder:
      SetSaveFolder(bDefaultsOnly);
      break;
    case egsPath_UserFolder:
      PathOf(lIx) = Documents();
      break;
    case egsPath_QD:
      PathOf(lIx) = platform::FileSystemObject{}.BuildPath(PathOf(egsPath_QlxWSystem),
                                                           NameOf(58, "QD"));  // computed, never created
      break;
    case egsPath_Program:
      break;  // only the host sets it
    default:
      SetDerivedFolder(lIx);
  }
  Trace("clsFileSystemController.SetForIx<< ", kTraceTime);
}

void clsFSCOld::SetTemplateFolder(bool bDefaultsOnly) {
  if (!bDefaultsOnly && bRegistrySetForIx(egsPath_Template, true)) {
    return;  // the stored folder is in place
  }
  SetOwnStoredFolder(egsPath_Template, PathOf(egsPath_QlxWSystem), NameOf(18, "Sablonok"), bDefaultsOnly);
}

void clsFSCOld::SetSaveFolder(bool bDefaultsOnly) {
  if (!bDefaultsOnly && bRegistrySetForIx(egsPath_SaveFolder, true)) {
    return;
  }
  std::string& path = PathOf(egsPath_SaveFolder);
  path = Documents();
  if (platform::FileSystemObject{}.FolderExists(path)) {
    return;  // the documents folder, not saved
  }
  SetOwnStoredFolder(egsPath_SaveFolder, PathOf(egsPath_Program), NameOf(17, "Mentések"), bDefaultsOnly);
}

// The library's own folder of a row kept in the store: made when missing, and stored unless only the
// defaults are being set (or reads only look).
void clsFSCOld::SetOwnStoredFolder(std::int32_t lIx, const std::string& parent, const std::string& name,
                                   bool bDefaultsOnly) {
  std::string& path = PathOf(lIx);
  path = platform::FileSystemObject{}.BuildPath(parent, name);
  CreateIfMissing(path);
  if (!bDefaultsOnly && CurrentFolderReads() == FolderReads::kAsHostsRead) {
    RegistrySaveForIx(lIx);
  }
}

// Rows 4..14: the system folder below the program folder, the rest below the system folder.
void clsFSCOld::SetDerivedFolder(std::int32_t lIx) {
  const Derived row = DerivedRow(lIx);
  const std::string& parent = PathOf(lIx == egsPath_QlxWSystem ? egsPath_Program : egsPath_QlxWSystem);
  std::string& path = PathOf(lIx);
  path = platform::FileSystemObject{}.BuildPath(parent, NameOf(row.stringId, row.hungarian));
  if (lIx == egsPath_Formatum || lIx == egsPath_Temp) {
    Trace(std::string_view(path));
  }
  CreateIfMissing(path);
}

void clsFSCOld::CreateIfMissing(const std::string& path) {
  if (CurrentFolderReads() == FolderReads::kAsHostsRead && !platform::FileSystemObject{}.FolderExists(path)) {
    CreateDir(path);
  }
}

bool clsFSCOld::bRegistrySetForIx(std::int32_t lIx, bool bSet) {
  Trace("clsFileSystemController.bRegistrySetForIx>> ", kTraceTime);
  const std::string& name = LegacyFolderSlot::Get().rows[static_cast<std::size_t>(lIx)].settingName;
  const bool found = platform::FileSystemObject{}.FolderExists(LoadFolderSetting(name));
  if (bSet) {
    PathOf(lIx) = LoadFolderSetting(name);  // taken even when the folder is missing
  }
  Trace("clsFileSystemController.bRegistrySetForIx<< ", kTraceTime);
  return found;
}

void clsFSCOld::RegistrySaveForIx(std::int32_t lIx) {
  Trace("clsFileSystemController.RegistrySaveForIx>> ", kTraceTime);
  const LegacyRow& row = LegacyFolderSlot::Get().rows[static_cast<std::size_t>(lIx)];
  SaveFolderSetting(row.settingName, row.path);
}

void clsFSCOld::CheckForIx(std::int32_t lIx, bool bFromRead) {
  Trace("clsFileSystemController.CheckForIx>> ", kTraceTime);
  if (!platform::FileSystemObject{}.FolderExists(PathOf(lIx))) {
    SetForIx(lIx, false);
  } else {
    if ((lIx == egsPath_Template || lIx == egsPath_SaveFolder) &&
        PathOf(egsPath_Template) == PathOf(egsPath_SaveFolder)) {
      SetForIx(lIx, false);
    }
    if (lIx == egsPath_Program && !bFromRead) {
      SetProgramFolders();
    }
  }
  Trace("clsFileSystemController.CheckForIx<< ", kTraceTime);
}

void clsFSCOld::SetProgramFolders() {
  Trace("clsFileSystemController.SetProgramFolders>> ", kTraceTime);
  for (std::int32_t i = egsPath_UserFolder; i <= egsPath_Help; ++i) {
    SetForIx(i, false);
  }
  Trace("clsFileSystemController.SetProgramFolders<< ", kTraceTime);
}

void clsFSCOld::SetDefaultForIx(std::int32_t lIx) {
  SetForIx(lIx, true);
}

void clsFSCOld::SetDefaults() {
  for (std::int32_t i = eFirst; i <= egsPath_Help; ++i) {
    SetForIx(i, true);
  }
}

void clsFSCOld::Refresh() {
  for (std::int32_t i = eFirst; i <= egsPath_Help; ++i) {
    SetForIx(i, false);
  }
}

void clsFSCOld::SaveToRegistry() {
  RegistrySaveForIx(egsPath_Template);
  RegistrySaveForIx(egsPath_SaveFolder);
}

void clsFSCOld::QlxWFolders(std::int32_t lIx, const std::string& path) {
  Trace("clsFileSystemController.Let QlxWFolders>> ", kTraceTime);
  if (!InTable(lIx)) {
    return;
  }
  Trace("clsFileSystemController.Let QlxWFolders>> 1 ", kTraceTime);
  if (!platform::FileSystemObject{}.FolderExists(path)) {
    return;
  }
  Trace("clsFileSystemController.Let QlxWFolders>> 2 ", kTraceTime);
  PathOf(lIx) = path;
  Trace("clsFileSystemController.Let QlxWFolders>> 3 ", kTraceTime);
  CheckForIx(lIx, false);
  Trace("clsFileSystemController.Let QlxWFolders<< ", kTraceTime);
}

std::string clsFSCOld::QlxWFolders(std::int32_t lIx) {
  Trace("clsFileSystemController.Get QlxWFolders>> index: ", lIx, " idő: ", kTraceTime);
  if (!InTable(lIx)) {
    return {};
  }
  if (!platform::FileSystemObject{}.FolderExists(PathOf(lIx))) {
    SetForIx(lIx, false);
  }
  CheckForIx(lIx, true);
  Trace("clsFileSystemController.Get QlxWFolders<< ", kTraceTime);
  return PathOf(lIx);
}

std::string clsFSCOld::QlxWHelpFileName(bool bPopup, bool bShowErr) {
  try {
    const std::string folder = QlxWFolders(egsPath_Help);
    return folder + platform::PathSeparator() + (bPopup ? kPopupHelpFileName : kHelpFileName);
  } catch (const std::exception&) {
    if (bShowErr) {
      platform::ShowNotice(GetLocalizedString(1, "A helpfájl megnyitása nem sikerült!"),
                           GetLocalizedString(2, "Hiba"));
    }
    return {};
  }
}

}  // namespace qlxw
