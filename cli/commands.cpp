#include "cli/commands.h"

#include <algorithm>
#include <cstdlib>
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
  std::string_view value;  // what the value is, as the help writes it ("TEXT")
  std::string_view help;
};

// An option of a command that takes a value ("--default TEXT"), or that takes none ("--save").
OptionSpec WithValue(std::string_view name, std::string_view value, std::string_view help) {
  return {.name = name, .takesValue = true, .value = value, .help = help};
}
OptionSpec Switch(std::string_view name, std::string_view help) {
  return {.name = name, .takesValue = false, .value = {}, .help = help};
}

// The options several commands share.
OptionSpec ProgramOption() {
  return WithValue("--program", "DIR",
                   "the host's program folder, where the legacy controller's folders go (default: qlxw's)");
}
OptionSpec CreateOption() {
  return Switch("--create", "make missing folders (and store the legacy controller's), as a host's reads do");
}
OptionSpec DictionaryOption() {
  return WithValue("--dictionary", "FILE", "the manual's index: one \"key,page\" a line");
}
OptionSpec PdfOption() {
  return WithValue("--pdf", "FILE", "the manual");
}
OptionSpec SaveOption() {
  return Switch("--save",
                "make the folders persistent (SaveToRegistry): the INI file, or the legacy "
                "controller's store");
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
  std::string_view example;
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
      {.options = {CreateOption()},
       .synopsis = "overview: version, language, INI file, main version, fixed settings, folders",
       .example = "qlxw --ini host.ini --json",
       .run = Overview,
       .file = TheIniFile},
      {.words = {"strings"},
       .arguments = AnyNumber(),
       .synopsis = "strings [ID ...]       localized texts of the current language",
       .example = "qlxw --lang 2057 strings 74",
       .run = Strings},
      {.words = {"tags"},
       .arguments = Exactly(1),
       .synopsis = "tags TEXT              the pieces and tags of TEXT",
       .example = "qlxw tags 'x<a>y<b>z'",
       .run = Tags},
      {.words = {"profile", "read"},
       .arguments = Exactly(3),
       .options = {WithValue("--default", "TEXT", "the text when the key is not there (none: empty)"),
                   WithValue("--capacity", "N",
                             "the reader's buffer in characters, its NUL included (255 unless given): the "
                             "text is cut to N-1")},
       .synopsis = "profile read FILE SECTION KEY [--default TEXT] [--capacity N]\n"
                   "                         the raw profile read",
       .example = "qlxw profile read host.ini Setup Units --default metric",
       .run = ProfileRead,
       .file = FirstArgument},
      {.words = {"profile", "write"},
       .arguments = Between(2, 4),
       .options = {Switch("--delete-key", "delete the key instead of writing it"),
                   Switch("--delete-section", "delete the section with all its keys")},
       .synopsis = "profile write FILE SECTION KEY VALUE | FILE SECTION KEY --delete-key | FILE SECTION "
                   "--delete-section\n"
                   "                         the raw profile write",
       .example = "qlxw profile write host.ini Setup Units imperial",
       .run = ProfileWrite,
       .file = FirstArgument},
      {.words = {"ini", "get"},
       .arguments = Exactly(2),
       .options = {WithValue("--default", "TEXT", "read with LoadINIString and this default (written back)"),
                   WithValue("--bool", "true|false", "read with LoadINIBoolean and this default")},
       .synopsis = "ini get SECTION KEY [--default TEXT | --bool true|false]\n"
                   "                         a value through the shared INI manager",
       .example = "qlxw --ini host.ini ini get Setup Units --default metric",
       .run = IniGet,
       .file = TheIniFile},
      {.words = {"ini", "set"},
       .arguments = Exactly(3),
       .options = {Switch("--bool", "write with WriteINIBoolean: VALUE is true or false")},
       .synopsis = "ini set SECTION KEY VALUE [--bool]\n"
                   "                         writes a value through the shared INI manager",
       .example = "qlxw --ini host.ini ini set Setup Units imperial",
       .run = IniSet,
       .file = TheIniFile},
      {.words = {"ini", "settings"},
       .synopsis = "ini settings           the six fixed settings",
       .example = "qlxw --ini host.ini ini settings",
       .run = IniSettings,
       .file = TheIniFile},
      // The data folders: each starts as a host does (program folder for the legacy controller, Refresh).
      {.words = {"folders"},
       .options = {ProgramOption(), CreateOption()},
       .synopsis = "folders [--program DIR] [--create]\n"
                   "                         every folder 1-16: ID, key and path",
       .example = "qlxw --main-ver 4 folders --program /opt/host",
       .run = FoldersList},
      {.words = {"folders", "get"},
       .arguments = Exactly(1),
       .options = {ProgramOption(), CreateOption()},
       .synopsis =
           "folders get ID [--create]\n"
           "                         one folder's path (ID: 1-16, a key such as Temp, or egsPath_Temp)",
       .example = "qlxw folders get Temp",
       .run = FoldersGet},
      {.words = {"folders", "set"},
       .arguments = Exactly(2),
       .options = {ProgramOption(), SaveOption()},
       .synopsis = "folders set ID PATH [--save]\n"
                   "                         sets a folder; prints its path",
       .example = "qlxw folders set SaveFolder /srv/saves --save",
       .run = FoldersSet},
      {.words = {"folders", "reset"},
       .arguments = Between(0, 1),
       .options = {ProgramOption(), SaveOption()},
       .synopsis = "folders reset [ID] [--save]\n"
                   "                         one folder (or all) back to the default",
       .example = "qlxw folders reset SaveFolder --save",
       .run = FoldersReset},
      {.words = {"folders", "help-file"},
       .options = {ProgramOption(), Switch("--popup", "the pop-up topic file inside the help file"),
                   CreateOption()},
       .synopsis = "folders help-file [--popup] [--create]\n"
                   "                         the help file's path",
       .example = "qlxw folders help-file --popup",
       .run = FoldersHelpFile},
      {.words = {"folders", "defaults"},
       .options = {ProgramOption(), CreateOption()},
       .synopsis = "folders defaults [--create]\n"
                   "                         the default workspace root and user folder",
       .example = "qlxw folders defaults",
       .run = FoldersDefaults},
      {.words = {"hotkeys"},
       .options = {WithValue("--assign", "CODE=FUNCTION",
                             "give the key CODE to FUNCTION, after the default table (again for more; -1: "
                             "no key)")},
       .synopsis = "hotkeys [--assign CODE=FUNCTION ...]\n"
                   "                         the default hot-key table with the assignments made in order",
       .example = "qlxw hotkeys --assign 113=Help",
       .run = HotKeysTable},
      {.words = {"locale"},
       .synopsis = "locale                 the shared locale settings and theme",
       .example = "qlxw --lang 2074 locale",
       .run = Locale,
       .file = TheIniFile},
      {.words = {"locale", "theme"},
       .options = {WithValue("--style", "N", "the menu style number (MenuStyleId)"),
                   WithValue("--transparent", "true|false",
                             "whether floating bands fade (TransparentBands)")},
       .synopsis = "locale theme [--style N] [--transparent true|false]\n"
                   "                         puts the theme values (kept in the INI file from main version "
                   "4), then the locale",
       .example = "qlxw --main-ver 4 locale theme --style 2 --transparent true",
       .run = LocaleTheme,
       .file = TheIniFile},
      {.words = {"help", "viewer"},
       .arguments = Exactly(1),
       .synopsis = "help viewer FILE       the program that opens FILE (GetPDFViewerExeName)",
       .example = "qlxw help viewer manual.pdf",
       .run = HelpViewer,
       .file = FirstArgument},
      {.words = {"help", "page"},
       .arguments = Exactly(1),
       .options = {DictionaryOption()},
       .synopsis = "help page --dictionary FILE KEY\n"
                   "                         the manual's page of the help key (from 1)",
       .example = "qlxw help page --dictionary help.txt Layers",
       .run = HelpPage,
       .file = TheDictionary},
      {.words = {"help", "commands"},
       .arguments = Exactly(1),
       .options = {DictionaryOption(), PdfOption()},
       .synopsis = "help commands --dictionary FILE --pdf FILE KEY\n"
                   "                         the viewer's two commands for the help key, as they would be "
                   "sent",
       .example = "qlxw help commands --dictionary help.txt --pdf manual.pdf Layers",
       .run = HelpCommands,
       .file = TheDictionary},
      {.words = {"help", "open"},
       .arguments = Exactly(1),
       .options = {DictionaryOption(), PdfOption()},
       .synopsis = "help open --dictionary FILE --pdf FILE KEY\n"
                   "                         opens the manual at the key's page (exit 1 when that fails)",
       .example = "qlxw help open --dictionary help.txt --pdf manual.pdf Layers",
       .run = HelpOpen,
       .file = TheDictionary},
      {.words = {"typelib-name"},
       .arguments = Exactly(1),
       .synopsis = "typelib-name FILE      the name of the type library embedded in a program or component "
                   "file",
       .example = "qlxw typelib-name Host.exe",
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
  out << "Options:\n"
         "  given before or after the command\n";
  for (const OptionName& option : GlobalOptionNames()) {
    std::string shown(option.name);
    if (!option.value.empty()) {
      shown += " " + std::string(option.value);
    }
    out << "  " << shown << std::string(shown.size() < 15 ? 15 - shown.size() : 1, ' ') << option.help
        << "\n";
  }
}

// What a person needs beyond the commands: exit codes, the environment, the files, examples.
void PrintReference(std::ostream& out) {
  // help2man makes a section of a "*Name*" line: the manual page's maker asks for that form.
  const char* forManual = std::getenv("QLXW_HELP_FOR_MANUAL");
  out << (forManual != nullptr && *forManual != 0 ? "\n*Exit status*\n" : "\nExit status:\n");
  out << "  0  done\n"
         "  1  a failure: a library error (qlxw: FILE: error 0xNNNNNNNN: text), a write that was not done,\n"
         "     output that could not be written\n"
         "  2  wrong use: one line naming the problem and the help to read\n"
         "\nEnvironment:\n"
         "  QLXW_INI             the INI file when --ini is not given\n"
         "  QLXW_LANG            the language id at start-up (LC_ALL, LC_MESSAGES, LANG when unset)\n"
         "  QLXW_ACP             the 8-bit code page of INI and trace files (default 1250)\n"
         "  QLXW_COMMON_APPDATA  the common application-data folder (the workspace's root)\n"
         "  QLXW_DOCUMENTS_DIR   the user's documents folder (else XDG's, else ~/Documents)\n"
         "  QLXW_SETTINGS_FILE   where the legacy folder controller keeps its two folders\n"
         "\nFiles:\n"
         "  ~/.config/qlxw/qlxw.ini              the INI file when neither --ini nor QLXW_INI names one\n"
         "  ~/.config/qlxw/folder-settings.ini   the legacy folder controller's folders\n"
         "\nExamples:\n"
         "  qlxw --lang 2057 strings 74\n"
         "  qlxw --ini host.ini ini get Setup Units --default metric\n"
         "  qlxw folders get Temp\n"
         "  qlxw help ini get\n";
}

// A command's own options, each explained, and its example.
void PrintOptionsAndExample(std::ostream& out, const Command& command) {
  if (!command.options.empty()) {
    out << "\nOptions:\n";
    for (const OptionSpec& option : command.options) {
      std::string shown = std::string(option.name);
      if (option.takesValue) {
        shown += " " + std::string(option.value);
      }
      out << "  " << shown << std::string(shown.size() < 22 ? 22 - shown.size() : 1, ' ') << option.help
          << "\n";
    }
  }
  if (!command.example.empty()) {
    out << "\nExample:\n  " << command.example << "\n";
  }
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

Continuations WhatMayFollow(const std::vector<std::string>& wordsSoFar) {
  Continuations next;
  for (const Command* command : CommandsUnder(wordsSoFar)) {
    if (command->words.size() > wordsSoFar.size()) {
      next.words.emplace_back(command->words[wordsSoFar.size()]);
    }
  }
  // An unknown word matches the overview, whose options are not this line's.
  if (const Command* command = MatchCommand(wordsSoFar);
      command != nullptr && (!command->words.empty() || wordsSoFar.empty())) {
    for (const OptionSpec& option : command->options) {
      next.options.push_back({.name = option.name, .value = option.takesValue ? option.value : ""});
    }
    next.argument = wordsSoFar.size() - command->words.size() < command->arguments.max;
  }
  return next;
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
    // A command: its usage, options and example, then the commands below it ("folders": folders get,
    // ...). A group that is no command itself ("ini"): the usage of each command in it.
    const Command* command = MatchCommand(words);
    const bool isCommand = command != nullptr && !command->words.empty();
    const std::vector<const Command*> below = CommandsUnder(isCommand ? WordsOf(*command) : words);
    if (below.empty()) {
      throw UsageError("unknown command '" + words.front() + "'", {});
    }
    if (isCommand) {
      out << "usage: qlxw [options] " << command->synopsis << "\n";
      PrintOptionsAndExample(out, *command);
    }
    if (below.size() > 1 || !isCommand) {
      out << (isCommand ? "\nCommands below it:\n" : "");
      for (const Command* each : below) {
        if (each != command) {
          out << "usage: qlxw [options] " << each->synopsis << "\n";
        }
      }
      const std::string group = isCommand ? Joined(command->words) : Joined({words.front()});
      out << "\nEach command's options and an example: qlxw " << group << " COMMAND --help\n";
    }
    out << "\nGlobal options (--ini, --lang, --main-ver, --json ...): qlxw --help\n";
    return;
  }
  out << "usage: qlxw [options] [command [arguments]]\n\n";
  PrintGlobalOptions(out);
  out << "\nCommands:\n"
         "  (none)                 "
      << Commands().front().synopsis << "\n";
  for (const Command& command : std::span(Commands()).subspan(1)) {
    out << "  " << command.synopsis << "\n";
  }
  out << "\nA command's options and an example: qlxw COMMAND --help, or qlxw help COMMAND\n";
  PrintReference(out);
}

std::optional<std::vector<std::string>> HelpTopic(const std::vector<std::string>& words) {
  if (words.size() < 2 || words.front() != "help" || !CommandsUnder({"help", words[1]}).empty()) {
    return std::nullopt;
  }
  return std::vector<std::string>(words.begin() + 1, words.end());
}

}  // namespace qlxw::cli
