#include <string>

#include "errors/lib_error.h"
#include "os/codepage.h"
#include "os/files.h"
#include "os/type_library.h"
#include "os/type_library_image.h"

namespace qlxw::platform {
namespace {

constexpr std::size_t kLargestProgramFile = std::size_t{1} << 30U;

}  // namespace

std::string TypeLibraryName(const std::string& file) {
  std::string bytes;
  const FileResult read = ReadWholeFile(file, kLargestProgramFile, bytes);
  if (read.status == FileStatus::kPathNotFound || read.status == FileStatus::kBadName) {
    RaiseAutomationError(kErrFileNotFound);
  }
  if (!read.Ok()) {
    throw LibError(kErrCannotLoadTypeLibrary,
                   "Cannot read the type library of " + file + ": the file cannot be read", {});
  }
  TypeLibraryNameFound found = FindTypeLibraryName(bytes);
  if (found.name.empty()) {
    throw LibError(kErrCannotLoadTypeLibrary,
                   "Cannot read the type library of " + file + ": " + std::string(found.problem), {});
  }
  return AnsiToUtf8(found.name);
}

}  // namespace qlxw::platform
