#pragma once
// What a shell offers at the word being completed, from the command's own tables, so that the bash, zsh
// and PowerShell completions stay thin and follow the installed version.
#include <iosfwd>
#include <string>
#include <vector>

namespace qlxw::cli {

// "qlxw __complete INDEX WORD ...": the words typed after qlxw, the one at INDEX (from 0; empty when left
// out) being completed. Prints a line "words" and the words that may come there, one a line; or one line
// "files", "folders" or "value" (a value to type: nothing to offer). For the shells: not in the usage.
void Complete(const std::vector<std::string>& args, std::ostream& out);

}  // namespace qlxw::cli
