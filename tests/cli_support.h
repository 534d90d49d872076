#pragma once
// Running the qlxw command as a script would, for the command tests (POSIX only).
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "test_support.h"

namespace qlxw::testing {

struct CommandResult {
  int status;
  std::string out;
  std::string err;
};

inline std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

// Runs `prefix` (a shell prefix such as "env NAME=VALUE", or empty) then qlxw with `args`, standard
// output and error kept in `scratch`, no input.
inline CommandResult RunQlxw(const std::string& prefix, const std::vector<std::string>& args,
                             const ScratchFolder& scratch) {
  std::string command = prefix + " " + ShellQuoted(QLXW_CLI_PATH);
  for (const std::string& arg : args) {
    command += " " + ShellQuoted(arg);
  }
  const std::string out = scratch.File("out");
  const std::string err = scratch.File("err");
  command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + " </dev/null";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
}

}  // namespace qlxw::testing
