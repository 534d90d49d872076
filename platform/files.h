#pragma once
// File access the library needs beyond the standard library: native paths from UTF-8 names and
// failures sorted into the few kinds a caller reports differently.
#include <string>
#include <string_view>

namespace qlxw::platform {

enum class FileStatus {
  kOk,
  kBadName,       // empty or not a valid name on this system
  kPathNotFound,  // a folder on the way does not exist
  kAccessDenied,  // no permission, or the name is a folder
  kIoError,       // anything else the system reported
};

// Opens the file for appending (creating it), writes the bytes, closes it.
FileStatus AppendToFile(const std::string& path, std::string_view bytes);

}  // namespace qlxw::platform
