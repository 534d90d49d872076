#pragma once
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace qlxw::cli {

// The lookup ParseCommandLine needs for the commands' own options.
std::optional<bool> CommandOptionTakesValue(const std::vector<std::string>& wordsSoFar,
                                            const std::string& option);

// Runs what the command line asks for; returns the exit status. Library errors and usage errors
// propagate to the caller.
int RunCommand(const CommandLine& line, std::ostream& out);

void PrintUsage(std::ostream& out);

}  // namespace qlxw::cli
