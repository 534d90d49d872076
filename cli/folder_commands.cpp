// The folder commands: qlxw asks clsFileSystemController for the host's data folders, as a host does.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "api/file_system_controller.h"
#include "cli/context.h"
#include "cli/error_text.h"
#include "cli/json.h"
#include "cli/printable.h"
#include "cli/write_failure.h"
#include "errors/lib_error.h"
#include "folders/folder_ids.h"
#include "folders/folder_settings_store.h"
#include "folders/fsc_replacer.h"
#include "folders/keys.h"
#include "os/file_system.h"
#include "os/user_registry.h"
#include "text/case_fold.h"

namespace qlxw::cli {
namespace {

namespace fs = std::filesystem;

// The folder that holds the qlxw program: what a host gives as its own folder.
std::string ProgramFolder() {
#ifdef _WIN32
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  const std::u8string text = fs::path(path).parent_path().u8string();
#else
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  const std::u8string text = error ? fs::current_path().u8string() : self.parent_path().u8string();
#endif
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

bool Writable(const std::string& path) {
#ifdef _WIN32
  std::error_code error;
  const auto status = fs::status(fs::path(std::u8string(path.begin(), path.end())), error);
  return !error && (status.permissions() & fs::perms::owner_write) != fs::perms::none;
#else
  return access(path.c_str(), W_OK) == 0;
#endif
}

// What a host does before it asks for folders: the INI file, then, with the legacy controller, its
// program folder, then Refresh.
void StartFolders(const Context& context, clsFileSystemController& controller) {
  const auto program = context.Option("--program");
  // A host gives its own folder, which exists; one that does not would leave the legacy controller
  // deriving every folder from the root of the current folder.
  if (program && !platform::FileSystemObject().FolderExists(*program)) {
    throw UsageError("--program: '" + *program + "' is not a folder");
  }
  ConnectIniFile(context.line.global);
  ResolveFolderController();
  if (FolderControllerName() == "clsFSCOld") {
    controller.QlxWFolders(egsPath_Program, program.value_or(ProgramFolder()));
    controller.Refresh();
    return;
  }
  // The replacer's Refresh only reads the INI file: what fails there (a value too long to read back) is
  // the file's, and the message names it.
  try {
    controller.Refresh();
  } catch (const LibError& error) {
    throw CommandError(error.Description(), IniFilePath(context.line.global), error);
  }
}

// Where SaveToRegistry puts the folders: the INI file, or the legacy controller's settings file ("" for
// the registry).
std::string SavedFoldersFile(const Context& context) {
  if (FolderControllerName() != "clsFSCOld") {
    return IniFilePath(context.line.global);
  }
  return platform::UserRegistryAvailable() ? std::string() : FolderSettingsFile();
}

// SaveToRegistry, which is silent to hosts, failing the command when a folder was not saved.
void SaveFolders(const Context& context, clsFileSystemController& controller) {
  BeginWrites();
  controller.SaveToRegistry();
  const ProfileWriteError error = LastProfileWriteError();
  const auto* replacer = dynamic_cast<const FSCReplacer*>(GetFolderController().get());
  if (error.refusal == WriteRefusal::kTooLong && replacer != nullptr) {
    throw CommandError("the folders were not saved: a path longer than the " +
                           std::to_string(replacer->Manager().LongestSavedDefinition()) +
                           " characters a read of the INI file takes back whole",
                       SavedFoldersFile(context));
  }
  CheckWrites("the folders were not saved", SavedFoldersFile(context));
}

struct FolderRow {
  std::int32_t id;
  std::string key;
  std::optional<std::string> definition;
  std::optional<std::string> path;
  std::string error;
};

std::vector<FolderRow> FolderRows(clsFileSystemController& controller) {
  const Keys keys;
  const auto* replacer = dynamic_cast<const FSCReplacer*>(GetFolderController().get());
  std::vector<FolderRow> rows;
  for (std::int32_t id = egsPath_Template; id <= egsPath_WorkSpace; ++id) {
    FolderRow row{id, keys.Item(id)->Key(), std::nullopt, std::nullopt, {}};
    if (replacer != nullptr) {
      row.definition = replacer->Manager().StoredValue(id);
    }
    try {
      row.path = controller.QlxWFolders(id);
    } catch (const LibError& error) {
      row.error = ErrorText(error);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string JsonOptional(const std::optional<std::string>& text) {
  return text ? JsonString(*text) : "null";
}

std::string FoldersJson(const std::vector<FolderRow>& rows) {
  const platform::FileSystemObject fso;
  std::string json = "{\"controller\": " + JsonString(FolderControllerName()) + ", \"folders\": [";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const FolderRow& row = rows[i];
    json += (i > 0 ? ", " : "") + std::string("{\"id\": ") + std::to_string(row.id) +
            ", \"name\": " + JsonString(FolderIdentifierName(row.id)) + ", \"key\": " + JsonString(row.key) +
            ", \"definition\": " + JsonOptional(row.definition) + ", \"path\": " + JsonOptional(row.path);
    if (row.path) {
      const bool exists = fso.FolderExists(*row.path);
      json += std::string(", \"exists\": ") + (exists ? "true" : "false") +
              ", \"writable\": " + (exists && Writable(*row.path) ? "true" : "false");
    } else {
      json += ", \"error\": " + JsonString(row.error);
    }
    json += "}";
  }
  return json + "]}";
}

bool AnyFailed(const std::vector<FolderRow>& rows) {
  return std::any_of(rows.begin(), rows.end(), [](const FolderRow& row) { return !row.path; });
}

// A folder number, a key name or an identifier name, in any letter case.
std::int32_t ParseFolderId(const std::string& text) {
  if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text.front())) != 0 || text.front() == '-')) {
    return ParseInt32(text, "folder id");
  }
  const Keys keys;
  for (std::int32_t id = egsPath_NONE; id <= egsPath_WorkSpace; ++id) {
    if (EqualsNoCase(keys.Item(id)->Key(), text) || EqualsNoCase(FolderIdentifierName(id), text)) {
      return id;
    }
  }
  throw UsageError("'" + text +
                   "' is no folder: give a number, a key name (Templates) or an identifier "
                   "(egsPath_Template)");
}

}  // namespace

// The library's error behind a command error, or the command's own words when there is none.
std::string CauseText(const CommandError& error) {
  return error.Cause() ? ErrorText(*error.Cause()) : std::string(error.what());
}

// The overview shows a start-up that fails (a program folder where nothing can be made) as its
// folders' error rather than failing as a whole.
std::string FolderOverviewJson(const Context& context, int& status) {
  clsFileSystemController controller;
  try {
    StartFolders(context, controller);
  } catch (const LibError& error) {
    status = 1;
    return "{\"controller\": " + JsonString(FolderControllerName()) +
           ", \"error\": " + JsonString(ErrorText(error)) + "}";
  } catch (const CommandError& error) {
    status = 1;
    return "{\"controller\": " + JsonString(FolderControllerName()) +
           ", \"error\": " + JsonString(CauseText(error)) + ", \"file\": " + JsonString(error.File()) + "}";
  }
  const std::vector<FolderRow> rows = FolderRows(controller);
  status = AnyFailed(rows) ? 1 : 0;
  return FoldersJson(rows);
}

int PrintFolderOverview(const Context& context) {
  clsFileSystemController controller;
  std::ostream& out = context.out;
  try {
    StartFolders(context, controller);
  } catch (const LibError& error) {
    out << "folders       " << FolderControllerName() << ": error " << Printable(ErrorText(error)) << "\n";
    return 1;
  } catch (const CommandError& error) {
    out << "folders       " << FolderControllerName() << ": " << Printable(error.File()) << ": error "
        << Printable(CauseText(error)) << "\n";
    return 1;
  }
  out << "folders       " << FolderControllerName() << "\n";
  const std::vector<FolderRow> rows = FolderRows(controller);
  for (const FolderRow& row : rows) {
    out << "  " << row.id << '\t' << row.key << '\t' << Printable(row.path ? *row.path : "error " + row.error)
        << "\n";
  }
  return AnyFailed(rows) ? 1 : 0;
}

int FoldersList(const Context& context) {
  clsFileSystemController controller;
  StartFolders(context, controller);
  const std::vector<FolderRow> rows = FolderRows(controller);
  if (context.Json()) {
    context.out << FoldersJson(rows) << "\n";
  } else {
    for (const FolderRow& row : rows) {
      context.out << row.id << '\t' << row.key << '\t' << Printable(row.path.value_or("")) << "\n";
      if (!row.path) {
        std::cerr << "qlxw: folder " << row.id << ": error " << Printable(row.error) << "\n";
      }
    }
  }
  return AnyFailed(rows) ? 1 : 0;
}

namespace {

void PrintFolder(const Context& context, std::int32_t id, const std::string& path) {
  if (context.Json()) {
    context.out << "{\"id\": " << id << ", \"path\": " << JsonString(path) << "}\n";
  } else {
    context.out << Printable(path) << "\n";
  }
}

}  // namespace

int FoldersGet(const Context& context) {
  const std::int32_t id = ParseFolderId(context.args[0]);
  clsFileSystemController controller;
  StartFolders(context, controller);
  PrintFolder(context, id, controller.QlxWFolders(id));
  return 0;
}

int FoldersSet(const Context& context) {
  const std::int32_t id = ParseFolderId(context.args[0]);
  clsFileSystemController controller;
  StartFolders(context, controller);
  controller.QlxWFolders(id, context.args[1]);
  if (context.Flag("--save")) {
    SaveFolders(context, controller);
  }
  PrintFolder(context, id, controller.QlxWFolders(id));
  return 0;
}

int FoldersReset(const Context& context) {
  const std::optional<std::int32_t> id =
      context.args.empty() ? std::nullopt : std::optional<std::int32_t>(ParseFolderId(context.args[0]));
  clsFileSystemController controller;
  StartFolders(context, controller);
  if (id) {
    controller.SetDefaultForIx(*id);
  } else {
    controller.SetDefaults();
  }
  if (context.Flag("--save")) {
    SaveFolders(context, controller);
  }
  if (context.Json()) {
    context.out << "{\"reset\": " << (id ? std::to_string(*id) : std::string("\"all\"")) << "}\n";
  }
  return 0;
}

int FoldersHelpFile(const Context& context) {
  clsFileSystemController controller;
  StartFolders(context, controller);
  const std::string file = controller.QlxWHelpFileName(context.Flag("--popup"), true);
  if (context.Json()) {
    context.out << "{\"helpFile\": " << JsonString(file) << "}\n";
  } else {
    context.out << Printable(file) << "\n";
  }
  return file.empty() ? 1 : 0;
}

int FoldersDefaults(const Context& context) {
  clsFileSystemController controller;
  StartFolders(context, controller);
  if (context.Json()) {
    context.out << "{\"workspaceRoot\": " << JsonString(controller.DefaultWorkspaceRoot())
                << ", \"userFolder\": " << JsonString(controller.DefaultUserFolder()) << "}\n";
  } else {
    context.out << Printable(controller.DefaultWorkspaceRoot()) << "\n"
                << Printable(controller.DefaultUserFolder()) << "\n";
  }
  return 0;
}

}  // namespace qlxw::cli
