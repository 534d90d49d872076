// The folder commands: qlxw asks clsFileSystemController for the host's data folders, as a host does.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "api/file_system_controller.h"
#include "cli/context.h"
#include "cli/error_text.h"
#include "cli/output.h"
#include "cli/write_failure.h"
#include "errors/lib_error.h"
#include "folders/create_folders.h"
#include "folders/folder_ids.h"
#include "folders/folder_settings_store.h"
#include "folders/fsc_replacer.h"
#include "folders/keys.h"
#include "os/file_system.h"
#include "os/running_program.h"
#include "os/user_registry.h"
#include "text/case_fold.h"

namespace qlxw::cli {
namespace {

// Where SaveToRegistry puts the folders: the INI file, or the legacy controller's settings file ("" for
// the registry).
std::string SavedFoldersFile(const Context& context) {
  if (FolderControllerName() != "clsFSCOld") {
    return IniFilePath(context.line.global);
  }
  return platform::UserRegistryAvailable() ? std::string() : FolderSettingsFile();
}

// What a host does before it asks for folders: the INI file, then, with the legacy controller, its
// program folder, then Refresh. A command that only reports folders creates and stores none, unless
// --create asks for what a host's reads do.
void StartFolders(const Context& context, clsFileSystemController& controller, bool reportsOnly = false) {
  SetFolderReads(reportsOnly && !context.Flag("--create") ? FolderReads::kLookOnly
                                                          : FolderReads::kAsHostsRead);
  const auto program = context.Option("--program");
  // A host gives its own folder, which exists; one that does not would leave the legacy controller
  // deriving every folder from the root of the current folder.
  if (program && !platform::FileSystemObject().FolderExists(*program)) {
    throw UsageError("--program: '" + *program + "' is not a folder");
  }
  ConnectIniFile(context.line.global);
  ResolveFolderController();
  if (FolderControllerName() == "clsFSCOld") {
    // Both steps store two folders in the settings store; a failure of its file is named with it (a
    // folder that cannot be made names its folder itself, and its source is the controller's).
    try {
      controller.QlxWFolders(egsPath_Program, program.value_or(platform::RunningProgramFolder()));
      controller.Refresh();
    } catch (const LibError& error) {
      const std::string store = SavedFoldersFile(context);
      if (store.empty() || error.Source() == "clsFSCOld") {
        throw;
      }
      throw CommandError(error.Description(), store, error);
    }
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

// SaveToRegistry, failing the command when a folder was not saved (the replacer's INI writes are
// silent to hosts).
void SaveFolders(const Context& context, clsFileSystemController& controller) {
  BeginWrites();
  try {
    controller.SaveToRegistry();  // the legacy controller's store raises
  } catch (const LibError& error) {
    throw CommandError(error.Description(), SavedFoldersFile(context), error);
  }
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

// A folder as a row: number, key and path in the text (the error in place of a missing path when
// `errorsShown`, else nothing); everything the controller knows of it in JSON.
Value FolderRowValue(const FolderRow& row, bool errorsShown) {
  const Value definition = row.definition ? Value(*row.definition) : Value();
  Value path;
  if (row.path) {
    path = Value(*row.path);
  } else if (errorsShown) {
    path = Value().Shown("error " + row.error);
  }
  std::vector<Field> fields = {{.name = "id", .value = row.id},
                               {.name = "name", .value = FolderIdentifierName(row.id), .jsonOnly = true},
                               {.name = "key", .value = row.key},
                               {.name = "definition", .value = definition, .jsonOnly = true},
                               {.name = "path", .value = path}};
  if (row.path) {
    const bool exists = platform::FileSystemObject().FolderExists(*row.path);
    fields.push_back({.name = "exists", .value = Value::Boolean(exists), .jsonOnly = true});
    fields.push_back({.name = "writable",
                      .value = Value::Boolean(exists && platform::FolderWritable(*row.path)),
                      .jsonOnly = true});
  } else {
    fields.push_back({.name = "error", .value = row.error, .jsonOnly = true});
  }
  return Value::Record(std::move(fields), Layout::Row());
}

// The controller and its folders; the text shows the folders only.
Value FoldersValue(const std::vector<FolderRow>& rows, bool errorsShown) {
  std::vector<Value> items;
  items.reserve(rows.size());
  for (const FolderRow& row : rows) {
    items.push_back(FolderRowValue(row, errorsShown));
  }
  return Value::Record({{.name = "controller", .value = FolderControllerName(), .jsonOnly = true},
                        {.name = "folders", .value = Value::List(std::move(items))}});
}

bool AnyFailed(const std::vector<FolderRow>& rows) {
  return std::any_of(rows.begin(), rows.end(), [](const FolderRow& row) { return !row.path; });
}

// A folder number, a key name or an identifier name, in any letter case.
std::int32_t ParseFolderId(const std::string& text) {
  if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text.front())) != 0 || text.front() == '-')) {
    const std::int32_t id = ParseInt32(text, "folder id");
    if (id < egsPath_NONE || id > egsPath_WorkSpace) {
      throw UsageError("'" + text + "' is no folder: the numbers are 1 to 16");
    }
    return id;
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
Value FolderOverview(const Context& context, int& status) {
  clsFileSystemController controller;
  try {
    StartFolders(context, controller, true);
  } catch (const LibError& error) {
    status = 1;
    return Value::Record({{.name = "controller", .value = FolderControllerName(), .jsonOnly = true},
                          {.name = "error", .value = ErrorText(error), .jsonOnly = true}})
        .Shown(FolderControllerName() + ": error " + ErrorText(error));
  } catch (const CommandError& error) {
    status = 1;
    return Value::Record({{.name = "controller", .value = FolderControllerName(), .jsonOnly = true},
                          {.name = "error", .value = CauseText(error), .jsonOnly = true},
                          {.name = "file", .value = error.File(), .jsonOnly = true}})
        .Shown(FolderControllerName() + ": " + error.File() + ": error " + CauseText(error));
  }
  const std::vector<FolderRow> rows = FolderRows(controller);
  status = AnyFailed(rows) ? 1 : 0;
  return FoldersValue(rows, true).Shown(FolderControllerName());
}

int FoldersList(const Context& context) {
  clsFileSystemController controller;
  StartFolders(context, controller, true);
  const std::vector<FolderRow> rows = FolderRows(controller);
  Print(context, FoldersValue(rows, false));
  for (const FolderRow& row : rows) {
    if (!row.path) {
      Note(context, "folder " + std::to_string(row.id) + ": error " + row.error);
    }
  }
  return AnyFailed(rows) ? 1 : 0;
}

namespace {

void PrintFolder(const Context& context, std::int32_t id, const std::string& path) {
  Print(context,
        Value::Record({{.name = "id", .value = id, .jsonOnly = true}, {.name = "path", .value = path}}));
}

}  // namespace

int FoldersGet(const Context& context) {
  const std::int32_t id = ParseFolderId(context.args[0]);
  clsFileSystemController controller;
  StartFolders(context, controller, true);
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
  Print(context,
        Value::Record({{.name = "reset", .value = id ? Value(*id) : Value("all"), .jsonOnly = true}}));
  return 0;
}

int FoldersHelpFile(const Context& context) {
  clsFileSystemController controller;
  StartFolders(context, controller, true);
  const std::string file = controller.QlxWHelpFileName(context.Flag("--popup"), true);
  Print(context, Value::Record({{.name = "helpFile", .value = file}}));
  return file.empty() ? 1 : 0;
}

int FoldersDefaults(const Context& context) {
  clsFileSystemController controller;
  StartFolders(context, controller, true);
  Print(context, Value::Record({{.name = "workspaceRoot", .value = controller.DefaultWorkspaceRoot()},
                                {.name = "userFolder", .value = controller.DefaultUserFolder()}}));
  return 0;
}

}  // namespace qlxw::cli
