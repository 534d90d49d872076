#include "cli/commands.h"

#include <algorithm>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/context.h"
#include "cli/output.h"
#include "language/localized_strings.h"
#include "os/type_library.h"
#include "text/tags.h"

namespace qlxw::cli {
namespace {

struct OptionSpec {
  std::string_view name;
  bool takesValue;
};

// An option of a command that takes a value ("--default TEXT"), or that takes none ("--save").
OptionSpec WithValue(std::string_view name) {
  return {.name = name, .takesValue = true};
}
OptionSpec Switch(std::string_view name) {
  return {.name = name, .takesValue = false};
}

// How many arguments a command takes after its words.
struct ArgumentRange {
  std::size_t min = 0;
  std::size_t max = 0;
};

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

ArgumentRange Exactly(std::size_t count) {
  return {.min = count, .max = count};
}
ArgumentRange Between(std::size_t min, std::size_t max) {
  return {.min = min, .max = max};
}
ArgumentRange AnyNumber() {
  return {.min = 0, .max = kAny};
}

// One entry of the table. What an entry leaves out it has not: words (the overview), arguments,
// options of its own, a file.
struct Command {
  std::vector<std::string_view> words = {};
  ArgumentRange arguments = {};
  std::vector<OptionSpec> options = {};
  std::string_view synopsis;
  int (*run)(const Context&) = nullptr;
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

int Strings(const Context& context) {
  std::vector<std::int32_t> ids;
  for (const std::string& arg : context.args) {
    ids.push_back(ParseInt32(arg, "string id"));
  }
  if (ids.empty()) {
    ids = LocalizedStringIds();
  }
  // The library answers an id its tables lack with an empty text; the command says so.
  const std::vector<std::int32_t> known = LocalizedStringIds();
  std::vector<Field> strings;
  std::string missing;
  strings.reserve(ids.size());
  for (const std::int32_t id : ids) {
    if (std::find(known.begin(), known.end(), id) == known.end()) {
      missing += (missing.empty() ? "" : ", ") + std::to_string(id);
      continue;
    }
    strings.push_back({.name = std::to_string(id), .value = GetLocalizedString(id, {})});
  }
  Print(context,
        Value::Record({{.name = "language", .value = CurrentLanguageId(), .jsonOnly = true},
                       {.name = "strings", .value = Value::Record(std::move(strings), Layout::Named())}}));
  if (!missing.empty()) {
    Note(context, "no string " + missing + " in language " + std::to_string(CurrentLanguageId()) +
                      " ('qlxw strings' lists them)");
    return 1;
  }
  return 0;
}

int TypeLibName(const Context& context) {
  Print(context, Value::Record({{.name = "name", .value = platform::TypeLibraryName(context.args.front())}}));
  return 0;
}

int Tags(const Context& context) {
  std::vector<Value> items;
  for (std::string& item : SplitTags(context.args.front())) {
    items.emplace_back(std::move(item));
  }
  Print(context, Value::List(std::move(items)));
  return 0;
}

// Every command: its words, how many arguments it takes, its own options, the line of the usage that
// shows it, what runs it, and the file its errors name.
const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {.options = {Switch("--create")},
       .synopsis = "overview: version, language, INI file, main version, fixed settings, folders\n"
                   "                         (--create: missing folders made, as a host's reads make them)",
       .run = Overview,
       .file = TheIniFile},
      {.words = {"strings"},
       .arguments = AnyNumber(),
       .synopsis = "strings [ID ...]       localized texts of the current language",
       .run = Strings},
      {.words = {"tags"},
       .arguments = Exactly(1),
       .synopsis = "tags TEXT              the pieces and tags of TEXT",
       .run = Tags},
      {.words = {"profile", "read"},
       .arguments = Exactly(3),
       .options = {WithValue("--default"), WithValue("--capacity")},
       .synopsis = "profile read FILE SECTION KEY [--default TEXT] [--capacity N]\n"
                   "                         the raw profile read (capacity 255 unless given)",
       .run = ProfileRead,
       .file = FirstArgument},
      {.words = {"profile", "write"},
       .arguments = Between(2, 4),
       .options = {Switch("--delete-key"), Switch("--delete-section")},
       .synopsis = "profile write FILE SECTION KEY VALUE | FILE SECTION KEY --delete-key | FILE SECTION "
                   "--delete-section\n"
                   "                         the raw profile write",
       .run = ProfileWrite,
       .file = FirstArgument},
      {.words = {"ini", "get"},
       .arguments = Exactly(2),
       .options = {WithValue("--default"), WithValue("--bool")},
       .synopsis = "ini get SECTION KEY [--default TEXT | --bool true|false]\n"
                   "                         a value through the shared INI manager",
       .run = IniGet,
       .file = TheIniFile},
      {.words = {"ini", "set"},
       .arguments = Exactly(3),
       .options = {Switch("--bool")},
       .synopsis = "ini set SECTION KEY VALUE [--bool]\n"
                   "                         writes a value (a Boolean with --bool) through the shared INI "
                   "manager",
       .run = IniSet,
       .file = TheIniFile},
      {.words = {"ini", "settings"},
       .synopsis = "ini settings           the six fixed settings",
       .run = IniSettings,
       .file = TheIniFile},
      // The data folders: each starts as a host does (program folder for the legacy controller, Refresh).
      {.words = {"folders"},
       .options = {WithValue("--program"), Switch("--create")},
       .synopsis =
           "folders [--program DIR] [--create]\n"
           "                         every folder 1-16: ID, key and path (JSON with --json); nothing\n"
           "                         is made or stored unless --create does what a host's reads do",
       .run = FoldersList},
      {.words = {"folders", "get"},
       .arguments = Exactly(1),
       .options = {WithValue("--program"), Switch("--create")},
       .synopsis = "folders get ID [--create]\n"
                   "                         one folder's path",
       .run = FoldersGet},
      {.words = {"folders", "set"},
       .arguments = Exactly(2),
       .options = {WithValue("--program"), Switch("--save")},
       .synopsis = "folders set ID PATH [--save]\n"
                   "                         sets a folder (and makes it persistent with --save); prints its "
                   "path",
       .run = FoldersSet},
      {.words = {"folders", "reset"},
       .arguments = Between(0, 1),
       .options = {WithValue("--program"), Switch("--save")},
       .synopsis = "folders reset [ID] [--save]\n"
                   "                         one folder (or all) back to the default",
       .run = FoldersReset},
      {.words = {"folders", "help-file"},
       .options = {WithValue("--program"), Switch("--popup"), Switch("--create")},
       .synopsis = "folders help-file [--popup] [--create]\n"
                   "                         the help file's path",
       .run = FoldersHelpFile},
      {.words = {"folders", "defaults"},
       .options = {WithValue("--program"), Switch("--create")},
       .synopsis = "folders defaults [--create]\n"
                   "                         the default workspace root and user folder",
       .run = FoldersDefaults},
      {.words = {"hotkeys"},
       .options = {WithValue("--assign")},
       .synopsis = "hotkeys [--assign CODE=FUNCTION ...]\n"
                   "                         the default hot-key table with the assignments made in order",
       .run = HotKeysTable},
      {.words = {"locale"},
       .synopsis = "locale                 the shared locale settings and theme",
       .run = Locale,
       .file = TheIniFile},
      {.words = {"locale", "theme"},
       .options = {WithValue("--style"), WithValue("--transparent")},
       .synopsis = "locale theme [--style N] [--transparent true|false]\n"
                   "                         puts the theme values (kept in the INI file from main version "
                   "4), then the locale",
       .run = LocaleTheme,
       .file = TheIniFile},
      {.words = {"help", "viewer"},
       .arguments = Exactly(1),
       .synopsis = "help viewer FILE       the program that opens FILE (GetPDFViewerExeName)",
       .run = HelpViewer,
       .file = FirstArgument},
      {.words = {"help", "page"},
       .arguments = Exactly(1),
       .options = {WithValue("--dictionary")},
       .synopsis = "help page --dictionary FILE KEY\n"
                   "                         the manual's page of the help key (from 1)",
       .run = HelpPage,
       .file = TheDictionary},
      {.words = {"help", "commands"},
       .arguments = Exactly(1),
       .options = {WithValue("--dictionary"), WithValue("--pdf")},
       .synopsis = "help commands --dictionary FILE --pdf FILE KEY\n"
                   "                         the viewer's two commands for the help key, as they would be "
                   "sent",
       .run = HelpCommands,
       .file = TheDictionary},
      {.words = {"help", "open"},
       .arguments = Exactly(1),
       .options = {WithValue("--dictionary"), WithValue("--pdf")},
       .synopsis = "help open --dictionary FILE --pdf FILE KEY\n"
                   "                         opens the manual at the key's page (exit 1 when that fails)",
       .run = HelpOpen,
       .file = TheDictionary},
      {.words = {"typelib-name"},
       .arguments = Exactly(1),
       .synopsis = "typelib-name FILE      the name of the type library embedded in a program or component "
                   "file",
       .run = TypeLibName,
       .file = FirstArgument},
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
  const ArgumentRange& range = command.arguments;
  std::string wanted = std::to_string(range.min);
  if (range.max == kAny) {
    wanted = "at least " + wanted;
  } else if (range.max != range.min) {
    wanted += " to " + std::to_string(range.max);
  }
  return "'" + Joined(command.words) + "' takes " + wanted + " argument" +
         (range.min == 1 && range.max == 1 ? "" : "s") + ", not " + std::to_string(given);
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
         "  --beep         let the beeps a host hears sound (the legacy folder controller's)\n"
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
  if (context.args.size() < command.arguments.min || context.args.size() > command.arguments.max) {
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
