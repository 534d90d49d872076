#pragma once
// What a qlxw command is given.
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/output.h"

namespace qlxw::cli {

struct Context {
  const CommandLine& line;
  std::ostream& out;
  std::vector<std::string> args;  // the words after the command's own words

  bool Json() const { return line.global.json; }
  // The option's value; the last one when it was given more than once.
  std::optional<std::string> Option(const std::string& name) const {
    const auto [first, last] = line.options.equal_range(name);
    return first == last ? std::nullopt : std::optional<std::string>(std::prev(last)->second);
  }
  // Every value of an option, in the order given.
  std::vector<std::string> Options(const std::string& name) const {
    std::vector<std::string> values;
    const auto [first, last] = line.options.equal_range(name);
    for (auto it = first; it != last; ++it) {
      values.push_back(it->second);
    }
    return values;
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
// The folders of the overview; `status` 1 when a folder, or the start of the folders, failed.
Value FolderOverview(const Context& context, int& status);
// User-interface support: hot keys, locale and theme.
int HotKeysTable(const Context& context);
int Locale(const Context& context);
int LocaleTheme(const Context& context);
int HelpViewer(const Context& context);
int HelpPage(const Context& context);
int HelpCommands(const Context& context);
int HelpOpen(const Context& context);

}  // namespace qlxw::cli
