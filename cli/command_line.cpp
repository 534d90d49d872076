#include "cli/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace qlxw::cli {
namespace {

const OptionName* FindGlobal(std::string_view name) {
  const std::vector<OptionName>& options = GlobalOptionNames();
  const auto found = std::find_if(options.begin(), options.end(),
                                  [name](const OptionName& option) { return option.name == name; });
  return found == options.end() ? nullptr : &*found;
}

bool IsGlobalFlag(std::string_view name) {
  const OptionName* option = FindGlobal(name);
  return name == "-h" || (option != nullptr && option->value.empty());
}

bool IsGlobalValueOption(std::string_view name) {
  const OptionName* option = FindGlobal(name);
  return option != nullptr && !option->value.empty();
}

void ApplyGlobal(GlobalOptions& global, const std::string& name, const std::string& value) {
  if (name == "--lang") {
    global.language = ParseInt32(value, "language id");
  } else if (name == "--trace") {
    global.traceFile = value;
  } else if (name == "--ini") {
    global.iniFile = value;
  } else if (name == "--main-ver") {
    global.mainVersion = ParseInt32(value, "main version");
  }
}

// Applies one option word (and its value from the next word when it takes one); returns how many
// words it used.
std::size_t TakeOption(const std::vector<std::string>& args, std::size_t at, CommandLine& line,
                       const CommandOptionLookup& commandOption) {
  const std::string& arg = args[at];
  std::string name = arg;
  std::optional<std::string> value;
  if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
    name = arg.substr(0, equals);
    value = arg.substr(equals + 1);
  }
  const bool global = IsGlobalFlag(name) || IsGlobalValueOption(name);
  const std::optional<bool> takesValue =
      global ? std::optional<bool>(IsGlobalValueOption(name)) : commandOption(line.words, name);
  if (!takesValue) {
    throw UsageError("unknown option '" + name + "'", line.words);
  }
  if (!*takesValue && value) {
    throw UsageError(name + " takes no value", line.words);
  }
  std::size_t used = 1;
  if (*takesValue && !value) {
    if (at + 1 >= args.size()) {
      throw UsageError(name + " needs a value", line.words);
    }
    value = args[at + 1];
    used = 2;
  }
  if (IsGlobalFlag(name)) {
    line.global.json |= name == "--json";
    line.global.help |= name == "--help" || name == "-h";
    line.global.version |= name == "--version";
    line.global.beep |= name == "--beep";
  } else if (global) {
    ApplyGlobal(line.global, name, *value);
  } else {
    line.options.emplace(name, value.value_or(""));
  }
  return used;
}

}  // namespace

const std::vector<OptionName>& GlobalOptionNames() {
  static const std::vector<OptionName> options = {
      {.name = "--lang",
       .value = "ID",
       .help = "user-interface language id (1038, 2057, 1048, 1066, 2074, 100000); without it\n"
               "                 QLXW_LANG, else the locale (English where it names no language)"},
      {.name = "--ini",
       .value = "FILE",
       .help = "the INI file (default $QLXW_INI, else qlxw.ini in the user's configuration folder)"},
      {.name = "--main-ver",
       .value = "N",
       .help = "the host's main version (default 5: INIManager5; 4 or less: INIManager)"},
      {.name = "--trace", .value = "FILE", .help = "switch tracing on, appending to FILE"},
      {.name = "--json", .value = "", .help = "one JSON document instead of text (errors too)"},
      {.name = "--beep",
       .value = "",
       .help = "let the beeps a host hears sound (the legacy folder controller's)"},
      {.name = "--help",
       .value = "",
       .help = "this text (after a command: that command's; also 'qlxw help COMMAND')"},
      {.name = "--version", .value = "", .help = "the library's version"}};
  return options;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args, const CommandOptionLookup& commandOption) {
  CommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg.size() == 2 && arg[0] == '-' &&
        std::isalpha(static_cast<unsigned char>(arg[1])) != 0 && arg != "-h") {
      throw UsageError("unknown option '" + arg + "'", line.words);  // -V, -v, -q ...: not a command
    }
    if (optionsEnded || arg.size() < 2 || arg[0] != '-' || (arg[1] != '-' && arg != "-h")) {
      line.words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    i += TakeOption(args, i, line, commandOption) - 1;
  }
  return line;
}

std::int32_t ParseInt32(const std::string& text, const std::string& what) {
  std::int32_t number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || error != std::errc() || stop != end) {
    throw UsageError("not a valid " + what + ": '" + text + "'");
  }
  return number;
}

}  // namespace qlxw::cli
