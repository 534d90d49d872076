#include "cli/commands.h"

#include <algorithm>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/context.h"
#include "cli/json.h"
#include "cli/printable.h"
#include "language/localized_strings.h"
#include "os/type_library.h"
#include "text/tags.h"

namespace qlxw::cli {
namespace {

struct OptionSpec {
  std::string_view name;
  bool takesValue;
};

struct Command {
  std::vector<std::string_view> words;
  std::size_t minArgs;
  std::size_t maxArgs;
  std::vector<OptionSpec> options;
  std::string_view synopsis;
  int (*run)(const Context&);
  // The file the command works on, named in its errors; none when left out.
  std::string (*file)(const Context&) = nullptr;
};

std::string TheIniFile(const Context& context) {
  return IniFilePath(context.line.global);
}

std::string FirstArgument(const Context& context) {
  return context.args.empty() ? std::string() : context.args.front();
}

std::string TheDictionary(const Context& context) {
  return context.Option("--dictionary").value_or("");
}

std::string Joined(const std::vector<std::string_view>& words) {
  std::string text;
  for (const std::string_view word : words) {
    text += (text.empty() ? "" : " ") + std::string(word);
  }
  return text;
}

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

int Strings(const Context& context) {
  std::vector<std::int32_t> ids;
  for (const std::string& arg : context.args) {
    ids.push_back(ParseInt32(arg, "string id"));
  }
  if (ids.empty()) {
    ids = LocalizedStringIds();
  }
  if (context.Json()) {
    context.out << "{\"language\": " << CurrentLanguageId() << ", \"strings\": {";
    const char* separator = "";
    for (const std::int32_t id : ids) {
      context.out << separator << JsonString(std::to_string(id)) << ": "
                  << JsonString(GetLocalizedString(id, {}));
      separator = ", ";
    }
    context.out << "}}\n";
  } else {
    for (const std::int32_t id : ids) {
      context.out << id << '\t' << Printable(GetLocalizedString(id, {})) << '\n';
    }
  }
  return 0;
}

int TypeLibName(const Context& context) {
  const std::string name = platform::TypeLibraryName(context.args.front());
  if (context.Json()) {
    context.out << "{\"name\": " << JsonString(name) << "}\n";
  } else {
    context.out << Printable(name) << "\n";
  }
  return 0;
}

int Tags(const Context& context) {
  const std::vector<std::string> items = SplitTags(context.args.front());
  if (context.Json()) {
    context.out << "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
      context.out << (i > 0 ? ", " : "") << JsonString(items[i]);
    }
    context.out << "]\n";
  } else {
    for (const std::string& item : items) {
      context.out << Printable(item) << '\n';
    }
  }
  return 0;
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {{},
       0,
       0,
       {},
       "overview: version, language, INI file, main version, fixed settings",
       Overview,
       TheIniFile},
      {{"strings"}, 0, kAny, {}, "strings [ID ...]       localized texts of the current language", Strings},
      {{"tags"}, 1, 1, {}, "tags TEXT              the pieces and tags of TEXT", Tags},
      {{"profile", "read"},
       3,
       3,
       {{"--default", true}, {"--capacity", true}},
       "profile read FILE SECTION KEY [--default TEXT] [--capacity N]\n"
       "                         the raw profile read (capacity 255 unless given)",
       ProfileRead,
       FirstArgument},
      {{"profile", "write"},
       2,
       4,
       {{"--delete-key", false}, {"--delete-section", false}},
       "profile write FILE SECTION KEY VALUE | FILE SECTION KEY --delete-key | FILE SECTION "
       "--delete-section\n"
       "                         the raw profile write",
       ProfileWrite,
       FirstArgument},
      {{"ini", "get"},
       2,
       2,
       {{"--default", true}, {"--bool", true}},
       "ini get SECTION KEY [--default TEXT | --bool true|false]\n"
       "                         a value through the shared INI manager",
       IniGet,
       TheIniFile},
      {{"ini", "set"},
       3,
       3,
       {{"--bool", false}},
       "ini set SECTION KEY VALUE [--bool]\n"
       "                         writes a value (a Boolean with --bool) through the shared INI manager",
       IniSet,
       TheIniFile},
      {{"ini", "settings"},
       0,
       0,
       {},
       "ini settings           the six fixed settings",
       IniSettings,
       TheIniFile},
      // The data folders: each starts as a host does (program folder for the legacy controller, Refresh).
      {{"folders"},
       0,
       0,
       {{"--program", true}},
       "folders [--program DIR]\n"
       "                         every folder 1-16: ID, key and path (JSON with --json)",
       FoldersList},
      {{"folders", "get"},
       1,
       1,
       {{"--program", true}},
       "folders get ID          one folder's path",
       FoldersGet},
      {{"folders", "set"},
       2,
       2,
       {{"--program", true}, {"--save", false}},
       "folders set ID PATH [--save]\n"
       "                         sets a folder (and makes it persistent with --save); prints its path",
       FoldersSet},
      {{"folders", "reset"},
       0,
       1,
       {{"--program", true}, {"--save", false}},
       "folders reset [ID] [--save]\n"
       "                         one folder (or all) back to the default",
       FoldersReset},
      {{"folders", "help-file"},
       0,
       0,
       {{"--program", true}, {"--popup", false}},
       "folders help-file [--popup]\n"
       "                         the help file's path",
       FoldersHelpFile},
      {{"folders", "defaults"},
       0,
       0,
       {{"--program", true}},
       "folders defaults       the default workspace root and user folder",
       FoldersDefaults},
      {{"hotkeys"},
       0,
       0,
       {{"--assign", true}},
       "hotkeys [--assign CODE=FUNCTION ...]\n"
       "                         the default hot-key table with the assignments made in order",
       HotKeysTable},
      {{"locale"},
       0,
       0,
       {},
       "locale                 the shared locale settings and theme",
       Locale,
       TheIniFile},
      {{"locale", "theme"},
       0,
       0,
       {{"--style", true}, {"--transparent", true}},
       "locale theme [--style N] [--transparent true|false]\n"
       "                         puts the theme values (kept in the INI file from main version 4), then "
       "the locale",
       LocaleTheme,
       TheIniFile},
      {{"help", "viewer"},
       1,
       1,
       {},
       "help viewer FILE       the program that opens FILE (GetPDFViewerExeName)",
       HelpViewer,
       FirstArgument},
      {{"help", "page"},
       1,
       1,
       {{"--dictionary", true}},
       "help page --dictionary FILE KEY\n"
       "                         the manual's page of the help key (from 1)",
       HelpPage,
       TheDictionary},
      {{"help", "commands"},
       1,
       1,
       {{"--dictionary", true}, {"--pdf", true}},
       "help commands --dictionary FILE --pdf FILE KEY\n"
       "                         the viewer's two commands for the help key, as they would be sent",
       HelpCommands,
       TheDictionary},
      {{"help", "open"},
       1,
       1,
       {{"--dictionary", true}, {"--pdf", true}},
       "help open --dictionary FILE --pdf FILE KEY\n"
       "                         opens the manual at the key's page (exit 1 when that fails)",
       HelpOpen,
       TheDictionary},
      {{"typelib-name"},
       1,
       1,
       {},
       "typelib-name FILE      the name of the type library embedded in a program or component file",
       TypeLibName,
       FirstArgument},
  };
  return commands;
}

// The longest command whose words start `words`; none when no command does.
const Command* MatchCommand(const std::vector<std::string>& words) {
  const Command* best = nullptr;
  for (const Command& command : Commands()) {
    const bool matches = command.words.size() <= words.size() &&
                         std::equal(command.words.begin(), command.words.end(), words.begin());
    if (matches && (best == nullptr || command.words.size() > best->words.size())) {
      best = &command;
    }
  }
  return best;
}

// The commands whose words start with `words` (a group such as "ini", or one command).
std::vector<const Command*> CommandsUnder(const std::vector<std::string>& words) {
  std::vector<const Command*> found;
  for (const Command& command : Commands()) {
    if (!command.words.empty() && command.words.size() >= words.size() &&
        std::equal(words.begin(), words.end(), command.words.begin())) {
      found.push_back(&command);
    }
  }
  return found;
}

const Command& FindCommand(const std::vector<std::string>& words) {
  const Command* command = MatchCommand(words);
  if (command == nullptr || (command->words.empty() && !words.empty())) {
    const std::vector<const Command*> group = CommandsUnder({words.front()});
    if (group.empty()) {
      throw UsageError("unknown command '" + words.front() + "'", {});
    }
    std::string choices;
    for (const Command* member : group) {
      choices += (choices.empty() ? "" : ", ") + std::string(member->words.back());
    }
    throw UsageError("'" + words.front() + "' needs one of: " + choices, {words.front()});
  }
  return *command;
}

std::string ArgumentCountProblem(const Command& command, std::size_t given) {
  std::string wanted = std::to_string(command.minArgs);
  if (command.maxArgs == kAny) {
    wanted = "at least " + wanted;
  } else if (command.maxArgs != command.minArgs) {
    wanted += " to " + std::to_string(command.maxArgs);
  }
  return "'" + Joined(command.words) + "' takes " + wanted + " argument" +
         (command.minArgs == 1 && command.maxArgs == 1 ? "" : "s") + ", not " + std::to_string(given);
}

std::vector<std::string> WordsOf(const Command& command) {
  return {command.words.begin(), command.words.end()};
}

void PrintGlobalOptions(std::ostream& out) {
  out << "options (before or after the command):\n"
         "  --lang ID      user-interface language id (1038, 2057, 1048, 1066, 2074, 100000)\n"
         "  --ini FILE     the INI file (default $QLXW_INI, else qlxw.ini in the user's configuration "
         "folder)\n"
         "  --main-ver N   the host's main version (default 5: INIManager5; 4 or less: INIManager)\n"
         "  --trace FILE   switch tracing on, appending to FILE\n"
         "  --json         one JSON document instead of text (errors too)\n"
         "  --help         this text (after a command: that command's)\n"
         "  --version      the library's version\n";
}

}  // namespace

std::optional<bool> CommandOptionTakesValue(const std::vector<std::string>& wordsSoFar,
                                            const std::string& option) {
  if (const Command* command = MatchCommand(wordsSoFar)) {
    for (const OptionSpec& known : command->options) {
      if (known.name == option) {
        return known.takesValue;
      }
    }
  }
  return std::nullopt;
}

int RunCommand(const CommandLine& line, std::ostream& out) {
  const Command& command = FindCommand(line.words);
  const Context context{
      line, out,
      std::vector<std::string>(line.words.begin() + static_cast<std::ptrdiff_t>(command.words.size()),
                               line.words.end())};
  if (context.args.size() < command.minArgs || context.args.size() > command.maxArgs) {
    throw UsageError(ArgumentCountProblem(command, context.args.size()), WordsOf(command));
  }
  try {
    return command.run(context);
  } catch (const UsageError& error) {
    throw UsageError(error.what(), WordsOf(command));
  } catch (const LibError& error) {
    throw CommandError(error.Description(), command.file == nullptr ? "" : command.file(context), error);
  }
}

std::string HelpHint(const std::vector<std::string>& words) {
  std::string named;
  if (const Command* command = MatchCommand(words); command != nullptr && !command->words.empty()) {
    named = Joined(command->words);
  } else if (!words.empty() && !CommandsUnder({words.front()}).empty()) {
    named = words.front();
  }
  return named.empty() ? "qlxw --help" : "qlxw " + named + " --help";
}

void PrintUsage(std::ostream& out, const std::vector<std::string>& words) {
  if (!words.empty()) {
    // A command and the ones below it ("folders": folders, folders get, ...), so that a group's help
    // shows what its errors point at; words after the command's own are its arguments.
    const Command* command = MatchCommand(words);
    std::vector<const Command*> shown = CommandsUnder(words);
    if (command != nullptr && !command->words.empty()) {
      shown = CommandsUnder(WordsOf(*command));
    }
    if (shown.empty()) {
      throw UsageError("unknown command '" + words.front() + "'", {});
    }
    for (const Command* each : shown) {
      out << "usage: qlxw [options] " << each->synopsis << "\n";
    }
    out << "\n";
    PrintGlobalOptions(out);
    return;
  }
  out << "usage: qlxw [options] [command [arguments]]\n\n";
  PrintGlobalOptions(out);
  out << "\ncommands:\n"
         "  (none)                 "
      << Commands().front().synopsis << "\n";
  for (const Command& command : std::span(Commands()).subspan(1)) {
    out << "  " << command.synopsis << "\n";
  }
}

}  // namespace qlxw::cli
