#pragma once
// A command-line program's arguments and console as UTF-8 text, whatever the system hands over.
#include <string>
#include <vector>

namespace qlxw::platform {

// The arguments after the program's name, as UTF-8. On Windows they are taken from the UTF-16
// command line: `argv` holds them in the 8-bit code page, which loses what that lacks.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Lets what the program prints in UTF-8 appear as such on a console (Windows); nothing elsewhere.
void UseUtf8Console();

}  // namespace qlxw::platform
