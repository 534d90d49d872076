#include "cli/commands.h"

#include <algorithm>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/json.h"
#include "core/version.h"
#include "text/tags.h"
#include "ui/language_runtime.h"
#include "ui/localized_strings.h"

namespace qlxw::cli {
namespace {

using Args = std::vector<std::string>;

struct Context {
  const CommandLine& line;
  std::ostream& out;
  Args args;  // the words after the command's own words
};

struct Command {
  std::vector<std::string_view> words;
  std::size_t minArgs;
  std::size_t maxArgs;
  std::vector<std::string_view> options;
  std::string_view synopsis;
  int (*run)(const Context&);
};

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

int Overview(const Context& context) {
  const std::int32_t language = CurrentLanguageId();
  if (context.line.global.json) {
    context.out << "{\"version\": " << JsonString(LibraryVersion()) << ", \"language\": " << language
                << "}\n";
  } else {
    context.out << "QlxWCommon " << LibraryVersion() << "\n"
                << "language   " << language << " " << LanguageName(language) << "\n";
  }
  return 0;
}

int Strings(const Context& context) {
  std::vector<std::int32_t> ids;
  for (const std::string& arg : context.args) {
    ids.push_back(ParseInt32(arg, "string id"));
  }
  if (ids.empty()) {
    ids = LocalizedStringIds();
  }
  if (context.line.global.json) {
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
      context.out << id << '\t' << GetLocalizedString(id, {}) << '\n';
    }
  }
  return 0;
}

int Tags(const Context& context) {
  const std::vector<std::string> items = SplitTags(context.args.front());
  if (context.line.global.json) {
    context.out << "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
      context.out << (i > 0 ? ", " : "") << JsonString(items[i]);
    }
    context.out << "]\n";
  } else {
    for (const std::string& item : items) {
      context.out << item << '\n';
    }
  }
  return 0;
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {{}, 0, 0, {}, "overview: version and language", Overview},
      {{"strings"}, 0, kAny, {}, "strings [ID ...]       localized texts of the current language", Strings},
      {{"tags"}, 1, 1, {}, "tags TEXT              the pieces and tags of TEXT", Tags},
  };
  return commands;
}

// The longest command whose words start the command line.
const Command& FindCommand(const Args& words) {
  const Command* best = nullptr;
  for (const Command& command : Commands()) {
    const bool matches = command.words.size() <= words.size() &&
                         std::equal(command.words.begin(), command.words.end(), words.begin());
    if (matches && (best == nullptr || command.words.size() > best->words.size())) {
      best = &command;
    }
  }
  if (best == nullptr || (best->words.empty() && !words.empty())) {
    throw UsageError("unknown command '" + words.front() + "'");
  }
  return *best;
}

}  // namespace

int RunCommand(const CommandLine& line, std::ostream& out) {
  const Command& command = FindCommand(line.words);
  Context context{
      line, out,
      Args(line.words.begin() + static_cast<std::ptrdiff_t>(command.words.size()), line.words.end())};
  for (const auto& [name, value] : line.options) {
    if (std::find(command.options.begin(), command.options.end(), name) == command.options.end()) {
      throw UsageError("unknown option '" + name + "'");
    }
  }
  if (context.args.size() < command.minArgs || context.args.size() > command.maxArgs) {
    throw UsageError("wrong number of arguments");
  }
  return command.run(context);
}

void PrintUsage(std::ostream& out) {
  out << "usage: qlxw [options] [command [arguments]]\n\n"
         "options (before or after the command):\n"
         "  --lang ID      user-interface language id (1038, 2057, 1048, 1066, 2074, 100000)\n"
         "  --trace FILE   switch tracing on, appending to FILE\n"
         "  --json         one JSON document instead of text\n"
         "  --help         this text\n"
         "  --version      the library's version\n\n"
         "commands:\n"
         "  (none)                 "
      << Commands().front().synopsis << "\n";
  for (const Command& command : std::span(Commands()).subspan(1)) {
    out << "  " << command.synopsis << "\n";
  }
}

}  // namespace qlxw::cli
