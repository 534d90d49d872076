#include "os/file_failure.h"

#include <cerrno>

#include "errors/lib_error.h"

namespace qlxw::platform {
namespace {

// The numbers behind the kinds the seam does not keep apart: errno values on POSIX, GetLastError()
// values on Windows.
#ifdef _WIN32
constexpr int kFolder = 267;        // ERROR_DIRECTORY
constexpr int kPipeOrDevice = 222;  // ERROR_BAD_FILE_TYPE
constexpr int kNoSpace = 112;       // ERROR_DISK_FULL
constexpr int kNoSpaceLeft = 39;    // ERROR_HANDLE_DISK_FULL
#else
constexpr int kFolder = EISDIR;
constexpr int kPipeOrDevice = ENXIO;
constexpr int kNoSpace = ENOSPC;
constexpr int kNoSpaceLeft = EDQUOT;
#endif

}  // namespace

FileFailure FileFailureOf(const FileResult& result) noexcept {
  switch (result.status) {
    case FileStatus::kOk:
      return FileFailure::kNone;
    case FileStatus::kBadName:
      return FileFailure::kBadName;
    case FileStatus::kPathNotFound:
      return FileFailure::kPathNotFound;
    case FileStatus::kAccessDenied:
      return result.systemError == kFolder || result.systemError == kPipeOrDevice
                 ? FileFailure::kNotARegularFile
                 : FileFailure::kAccessDenied;
    case FileStatus::kBusy:
      return FileFailure::kBusy;
    case FileStatus::kTooLarge:
      return FileFailure::kTooLarge;
    case FileStatus::kIoError:
      return result.systemError == kNoSpace || result.systemError == kNoSpaceLeft ? FileFailure::kDiskFull
                                                                                  : FileFailure::kIoError;
  }
  return FileFailure::kIoError;
}

std::int32_t AutomationErrorNumberOf(FileFailure failure) noexcept {
  switch (failure) {
    case FileFailure::kPathNotFound:
      return kErrPathNotFound;
    case FileFailure::kAccessDenied:
    case FileFailure::kBusy:
      return kErrPermissionDenied;
    case FileFailure::kBadName:
    case FileFailure::kNotARegularFile:  // records go to regular files only
      return kErrPathFileAccess;
    case FileFailure::kDiskFull:
      return kErrDiskFull;
    case FileFailure::kNone:
    case FileFailure::kTooLarge:
    case FileFailure::kIoError:
      break;
  }
  return kErrDeviceIo;
}

}  // namespace qlxw::platform
