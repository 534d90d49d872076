#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace qlxw::cli {
namespace {

constexpr std::array<std::string_view, 2> kGlobalValueOptions = {"--lang", "--trace"};
constexpr std::array<std::string_view, 0> kCommandValueOptions = {};

bool IsIn(const auto& list, std::string_view name) {
  return std::any_of(list.begin(), list.end(), [&](std::string_view entry) { return entry == name; });
}

void ApplyGlobal(GlobalOptions& global, const std::string& name, const std::string& value) {
  if (name == "--lang") {
    global.language = ParseInt32(value, "language id");
  } else if (name == "--trace") {
    global.traceFile = value;
  }
}

}  // namespace

bool TakesValue(const std::string& option) {
  return IsIn(kGlobalValueOptions, option) || IsIn(kCommandValueOptions, option);
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-' || (arg[1] != '-' && arg != "-h")) {
      line.words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> value;
    if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    }
    if (name == "--json" || name == "--help" || name == "-h" || name == "--version") {
      if (value) {
        throw UsageError(name + " takes no value");
      }
      line.global.json |= name == "--json";
      line.global.help |= name == "--help" || name == "-h";
      line.global.version |= name == "--version";
      continue;
    }
    if (TakesValue(name) && !value) {
      if (i + 1 >= args.size()) {
        throw UsageError(name + " needs a value");
      }
      value = args[++i];
    }
    if (IsIn(kGlobalValueOptions, name)) {
      ApplyGlobal(line.global, name, *value);
    } else {
      // A command's own option; whether the command knows it is checked when the command is chosen.
      line.options[name] = value.value_or("");
    }
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
