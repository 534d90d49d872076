#pragma once
// What a program hosting the library asks the system about itself: the folder of its program file,
// whether it may write into a folder, and the system's own words for an error number.
#include <string>

namespace qlxw::platform {

// The folder of the running program's file (not the library's: see LibraryFolder), UTF-8; elsewhere
// than Windows the current folder when the system does not tell.
std::string RunningProgramFolder();

// Whether the running program may write into the folder `path` (UTF-8). On Windows this is the
// folder's read-only attribute.
bool FolderWritable(const std::string& path);

// The system's text for its error number (errno, or a Windows error code) in UTF-8, without a closing
// full stop or line end; on Windows "error N" when the system has no text for it.
std::string SystemErrorText(int error);

}  // namespace qlxw::platform
