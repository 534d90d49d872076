#pragma once
// What a qlxw command is given.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace qlxw::cli {

struct Context {
  const CommandLine& line;
  std::ostream& out;
  std::vector<std::string> args;  // the words after the command's own words

  bool Json() const { return line.global.json; }
  std::optional<std::string> Option(const std::string& name) const {
    const auto found = line.options.find(name);
    return found == line.options.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  bool Flag(const std::string& name) const { return line.options.contains(name); }
};

// The INI file the host works with: --ini, else $QLXW_INI, else qlxw.ini in the user's configuration
// folder ($XDG_CONFIG_HOME/qlxw, else ~/.config/qlxw), whose folder is created when missing.
std::string IniFilePath(const GlobalOptions& global);

// What a host does before it uses the INI managers: main version, then the INI file name.
void ConnectIniFile(const GlobalOptions& global);

int Overview(const Context& context);
int ProfileRead(const Context& context);
int ProfileWrite(const Context& context);
int IniGet(const Context& context);
int IniSet(const Context& context);
int IniSettings(const Context& context);

// The data folders, through clsFileSystemController (cli/folder_commands.cpp).
int FoldersList(const Context& context);
int FoldersGet(const Context& context);
int FoldersSet(const Context& context);
int FoldersReset(const Context& context);
int FoldersHelpFile(const Context& context);
int FoldersDefaults(const Context& context);
// The folder table of the overview; 1 (or `status` 1) when a folder failed.
int PrintFolderOverview(const Context& context);
std::string FolderOverviewJson(const Context& context, int& status);

}  // namespace qlxw::cli
