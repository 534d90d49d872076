#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>

#include "errors/lib_error.h"
#include "os/codepage.h"
#include "os/file_calls.h"
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

// The first bytes of a regular file (all of a shorter one), from an opening that never waits; none
// when they cannot be had, which the whole read then reports as it does.
std::optional<std::string> FileStart(const std::string& path) {
  if (!IsPossibleFileName(path)) {
    return std::nullopt;
  }
  const FileCalls& calls = FileCallTable();
  const int fd = calls.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
  if (fd < 0) {
    return std::nullopt;
  }
  std::optional<std::string> start;
  struct stat info {};
  if (calls.fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    std::string bytes(kTypeLibraryFileStart, '\0');
    std::size_t filled = 0;
    bool failed = false;
    while (filled < bytes.size()) {
      const ssize_t got =
          calls.pread(fd, bytes.data() + filled, bytes.size() - filled, static_cast<off_t>(filled));
      if (got < 0 && errno == EINTR) {
        continue;
      }
      if (got <= 0) {
        failed = got < 0;
        break;
      }
      filled += static_cast<std::size_t>(got);
    }
    if (!failed) {
      bytes.resize(filled);
      start = std::move(bytes);
    }
  }
  calls.close(fd);
  return start;
}

}  // namespace

std::string TypeLibraryName(const std::string& file) {
  // A file of another kind is refused from its first bytes, however large it is.
  if (const std::optional<std::string> start = FileStart(file)) {
    if (const std::string_view problem = TypeLibraryStartProblem(*start); !problem.empty()) {
      CannotRead(file, problem);
    }
  }
  std::string bytes;
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
