#pragma once
// Which program the system opens a file with, answered as the shell's FindExecutable answers: a code
// above 32 with the program's full path, or the failure code.
#include <cstdint>
#include <string>

namespace qlxw::platform {

inline constexpr std::int32_t kAssociationFileNotFound = 2;
inline constexpr std::int32_t kAssociationPathNotFound = 3;
inline constexpr std::int32_t kAssociationNone = 31;
inline constexpr std::int32_t kAssociationFound = 42;  // any code above 32 means found

struct ProgramForFile {
  std::int32_t code;
  std::string program;  // the full path; empty unless found
};

// Windows asks the shell. Elsewhere the desktop's rules decide: the file's type from the shared MIME
// database's globs, its default application from the mimeapps.list files ($XDG_CONFIG_HOME,
// $XDG_CONFIG_DIRS, $XDG_DATA_HOME/applications, $XDG_DATA_DIRS/applications, then their
// mimeinfo.cache), and that desktop entry's Exec program, found on PATH when it has no folder.
ProgramForFile FindProgramForFile(const std::string& file);

}  // namespace qlxw::platform
