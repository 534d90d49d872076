#include <string>
#include <string_view>

#include "errors/lib_error.h"
#include "os/codepage.h"
#include "os/files.h"
#include "os/type_library.h"
#include "os/type_library_image.h"

namespace qlxw::platform {
namespace {

constexpr std::size_t kLargestProgramFile = std::size_t{1} << 30U;

[[noreturn]] void CannotRead(const std::string& file, std::string_view why) {
  throw LibError(kErrCannotLoadTypeLibrary,
                 "Cannot read the type library of " + file + ": " + std::string(why), {});
}

}  // namespace

std::string TypeLibraryName(const std::string& file) {
  // A file of another kind is refused from its first bytes, however large it is.
  std::string bytes;
  if (ReadFileStart(file, kTypeLibraryFileStart, bytes).Ok()) {
    if (const std::string_view problem = TypeLibraryStartProblem(bytes); !problem.empty()) {
      CannotRead(file, problem);
    }
  }
  const FileResult read = ReadWholeFile(file, kLargestProgramFile, bytes);
  if (read.status == FileStatus::kPathNotFound || read.status == FileStatus::kBadName) {
    RaiseAutomationError(kErrFileNotFound);
  }
  if (!read.Ok()) {
    CannotRead(file, "the file cannot be read");
  }
  TypeLibraryNameFound found = FindTypeLibraryName(bytes);
  if (found.name.empty()) {
    CannotRead(file, found.problem);
  }
  return AnsiToUtf8(found.name);
}

}  // namespace qlxw::platform
