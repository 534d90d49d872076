#pragma once
#include <iosfwd>

#include "cli/command_line.h"

namespace qlxw::cli {

// Runs what the command line asks for; returns the exit status. Library errors and usage errors
// propagate to the caller.
int RunCommand(const CommandLine& line, std::ostream& out);

void PrintUsage(std::ostream& out);

}  // namespace qlxw::cli
