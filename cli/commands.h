#pragma once
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "errors/lib_error.h"

namespace qlxw::cli {

// A command that could not do its work: what went wrong, the file it concerns ("" when none), and the
// library error behind it when there is one. Exit status 1.
class CommandError : public std::runtime_error {
 public:
  CommandError(const std::string& problem, std::string file, std::optional<LibError> cause = {})
      : std::runtime_error(problem), file_(std::move(file)), cause_(std::move(cause)) {}
  const std::string& File() const noexcept { return file_; }
  const std::optional<LibError>& Cause() const noexcept { return cause_; }

 private:
  std::string file_;
  std::optional<LibError> cause_;
};

// The lookup ParseCommandLine needs for the commands' own options.
std::optional<bool> CommandOptionTakesValue(const std::vector<std::string>& wordsSoFar,
                                            const std::string& option);

// What may follow the words so far (the command's words and arguments, no options), for completion: the
// next words of the commands they begin, the options of the command they name, and whether that command
// takes another argument.
struct Continuations {
  std::vector<std::string> words;
  std::vector<OptionName> options;
  bool argument = false;
};
Continuations WhatMayFollow(const std::vector<std::string>& wordsSoFar);

// Runs what the command line asks for; returns the exit status. Usage errors propagate; a library
// error becomes a CommandError naming the file the command works on.
int RunCommand(const CommandLine& line, std::ostream& out);

// The whole usage, or with `words` naming a command or a group of commands ("ini"), theirs only.
// A UsageError when the words name nothing.
void PrintUsage(std::ostream& out, const std::vector<std::string>& words = {});

// Where to read more after a usage error about `words`: "qlxw ini get --help", "qlxw ini --help"
// or "qlxw --help".
std::string HelpHint(const std::vector<std::string>& words);

// "qlxw help ini get" asks for the help of "ini get": the words to show help for, when `words` is such
// a request (help followed by what is no command of the manual's help group).
std::optional<std::vector<std::string>> HelpTopic(const std::vector<std::string>& words);

}  // namespace qlxw::cli
