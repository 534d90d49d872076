#pragma once
// The qlxw command line: global options anywhere, then a command of one or two words, its arguments
// and its own options.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qlxw::cli {

// Wrong use of the command: one line to stderr, pointing at the command's help, and exit status 2.
// `words` are the command words understood so far, when the error came before the command ran.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& problem, std::vector<std::string> words = {})
      : std::runtime_error(problem), words_(std::move(words)) {}
  const std::vector<std::string>& Words() const noexcept { return words_; }

 private:
  std::vector<std::string> words_;
};

// An option's name and its value as the help writes it ("FILE", "N"); the value empty for a switch.
struct OptionName {
  std::string_view name;
  std::string_view value;
  std::string_view help = {};
};

// The options every command takes, given before or after it (-h, the short --help, aside).
const std::vector<OptionName>& GlobalOptionNames();

struct GlobalOptions {
  std::optional<std::int32_t> language;
  std::optional<std::string> traceFile;
  std::optional<std::string> iniFile;
  std::int32_t mainVersion = 5;
  bool json = false;
  bool help = false;
  bool version = false;
  bool beep = false;  // the host's beeps sound on the terminal
};

struct CommandLine {
  GlobalOptions global;
  std::vector<std::string> words;  // the command's words and arguments, in order
  // The command's own options ("--default" -> value), an option given again after its earlier values.
  std::multimap<std::string, std::string> options;
};

// For an option that is not global: does the command named by the words so far know it, and does it
// take a value? Empty when it does not know it.
using CommandOptionLookup =
    std::function<std::optional<bool>(const std::vector<std::string>& wordsSoFar, const std::string& option)>;

CommandLine ParseCommandLine(const std::vector<std::string>& args, const CommandOptionLookup& commandOption);

// A whole 32-bit integer or a UsageError naming `what`.
std::int32_t ParseInt32(const std::string& text, const std::string& what);

}  // namespace qlxw::cli
