#pragma once
// Failing file seams for tests: each type replaces entries of the file-call table while it lives and
// says what each file operation must answer under it. The types have the same names and answers on
// every platform; only the calls they replace differ.
#include <algorithm>
#include <cerrno>
#include <utility>

#include "os/file_calls.h"
#include "os/files.h"

namespace qlxw::testing {

using platform::FileCalls;
using platform::FileStatus;
using platform::ScopedFileCall;
using platform::SystemFileCalls;

// What each operation answers under a seam.
struct FileAnswers {
  FileStatus append = FileStatus::kOk;
  FileStatus read = FileStatus::kOk;
  FileStatus lock = FileStatus::kOk;
  FileStatus lockedRead = FileStatus::kOk;
  FileStatus replace = FileStatus::kOk;
};

struct RealSeam {
  static constexpr const char* kName = "Real";
  static constexpr FileAnswers kAnswers{};
};

#ifdef _WIN32

struct RenameDenied {
  static constexpr const char* kName = "RenameDenied";
  static constexpr FileAnswers kAnswers{.replace = FileStatus::kAccessDenied};
  ScopedFileCall<&FileCalls::moveFileEx> move{[](const wchar_t*, const wchar_t*, DWORD) -> BOOL {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }};
};

struct RenameAcrossDevices {
  static constexpr const char* kName = "RenameAcrossDevices";
  static constexpr FileAnswers kAnswers{.replace = FileStatus::kIoError};
  ScopedFileCall<&FileCalls::moveFileEx> move{[](const wchar_t*, const wchar_t*, DWORD) -> BOOL {
    SetLastError(ERROR_NOT_SAME_DEVICE);
    return FALSE;
  }};
};

// Legal short transfers: each call moves at most half of what it was asked.
struct HalfTransfers {
  static constexpr const char* kName = "HalfTransfers";
  static constexpr FileAnswers kAnswers{};
  ScopedFileCall<&FileCalls::writeFile> write{
      [](HANDLE file, const void* buffer, DWORD size, DWORD* written) {
        return SystemFileCalls().writeFile(file, buffer, std::max<DWORD>(1, size / 2), written);
      }};
  ScopedFileCall<&FileCalls::readFile> read{[](HANDLE file, void* buffer, DWORD size, DWORD* got) {
    return SystemFileCalls().readFile(file, buffer, std::max<DWORD>(1, size / 2), got);
  }};
};

// The disk fills up halfway through a write.
struct DiskFullHalfway {
  static constexpr const char* kName = "DiskFullHalfway";
  static constexpr FileAnswers kAnswers{.append = FileStatus::kIoError, .replace = FileStatus::kIoError};
  static inline bool wroteHalf = false;
  DiskFullHalfway() { wroteHalf = false; }
  ScopedFileCall<&FileCalls::writeFile> write{
      [](HANDLE file, const void* buffer, DWORD size, DWORD* written) {
        if (std::exchange(wroteHalf, true)) {
          SetLastError(ERROR_DISK_FULL);
          return FALSE;
        }
        return SystemFileCalls().writeFile(file, buffer, std::max<DWORD>(1, size / 2), written);
      }};
};

struct FlushFails {
  static constexpr const char* kName = "FlushFails";
  static constexpr FileAnswers kAnswers{.replace = FileStatus::kIoError};
  ScopedFileCall<&FileCalls::flushFileBuffers> flush{[](HANDLE) -> BOOL {
    SetLastError(ERROR_IO_DEVICE);
    return FALSE;
  }};
};

// Another writer never lets go.
struct LockNeverObtained {
  static constexpr const char* kName = "LockNeverObtained";
  static constexpr FileAnswers kAnswers{.lock = FileStatus::kBusy};
  ScopedFileCall<&FileCalls::waitForSingleObject> wait{[](HANDLE, DWORD) -> DWORD { return WAIT_TIMEOUT; }};
};

struct OpenDenied {
  static constexpr const char* kName = "OpenDenied";
  static constexpr FileAnswers kAnswers{.append = FileStatus::kAccessDenied,
                                        .read = FileStatus::kAccessDenied,
                                        .lock = FileStatus::kAccessDenied};
  ScopedFileCall<&FileCalls::createFile> open{[](const wchar_t*, DWORD, DWORD, DWORD) -> HANDLE {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }};
};

struct ReadFails {
  static constexpr const char* kName = "ReadFails";
  static constexpr FileAnswers kAnswers{.read = FileStatus::kIoError, .lockedRead = FileStatus::kIoError};
  ScopedFileCall<&FileCalls::readFile> read{[](HANDLE, void*, DWORD, DWORD*) -> BOOL {
    SetLastError(ERROR_CRC);
    return FALSE;
  }};
};

#else

struct RenameDenied {
  static constexpr const char* kName = "RenameDenied";
  static constexpr FileAnswers kAnswers{.replace = FileStatus::kAccessDenied};
  ScopedFileCall<&FileCalls::rename> rename{[](const char*, const char*) {
    errno = EACCES;
    return -1;
  }};
};

struct RenameAcrossDevices {
  static constexpr const char* kName = "RenameAcrossDevices";
  static constexpr FileAnswers kAnswers{.replace = FileStatus::kIoError};
  ScopedFileCall<&FileCalls::rename> rename{[](const char*, const char*) {
    errno = EXDEV;
    return -1;
  }};
};

// Legal short transfers: each call moves at most half of what it was asked.
struct HalfTransfers {
  static constexpr const char* kName = "HalfTransfers";
  static constexpr FileAnswers kAnswers{};
  ScopedFileCall<&FileCalls::write> write{[](int fd, const void* buffer, size_t size) {
    return SystemFileCalls().write(fd, buffer, std::max<size_t>(1, size / 2));
  }};
  ScopedFileCall<&FileCalls::pread> read{[](int fd, void* buffer, size_t size, off_t offset) {
    return SystemFileCalls().pread(fd, buffer, std::max<size_t>(1, size / 2), offset);
  }};
};

// The disk fills up halfway through a write.
struct DiskFullHalfway {
  static constexpr const char* kName = "DiskFullHalfway";
  static constexpr FileAnswers kAnswers{.append = FileStatus::kIoError, .replace = FileStatus::kIoError};
  static inline bool wroteHalf = false;
  DiskFullHalfway() { wroteHalf = false; }
  ScopedFileCall<&FileCalls::write> write{[](int fd, const void* buffer, size_t size) -> ssize_t {
    if (std::exchange(wroteHalf, true)) {
      errno = ENOSPC;
      return -1;
    }
    return SystemFileCalls().write(fd, buffer, std::max<size_t>(1, size / 2));
  }};
};

struct FlushFails {
  static constexpr const char* kName = "FlushFails";
  static constexpr FileAnswers kAnswers{.replace = FileStatus::kIoError};
  ScopedFileCall<&FileCalls::fsync> fsync{[](int) {
    errno = EIO;
    return -1;
  }};
};

// Another writer never lets go; the pauses between tries take no time, so the wait ends at once.
struct LockNeverObtained {
  static constexpr const char* kName = "LockNeverObtained";
  static constexpr FileAnswers kAnswers{.lock = FileStatus::kBusy};
  ScopedFileCall<&FileCalls::flock> lock{[](int, int) {
    errno = EWOULDBLOCK;
    return -1;
  }};
  ScopedFileCall<&FileCalls::nanosleep> pause{[](const timespec*, timespec*) { return 0; }};
};

struct OpenDenied {
  static constexpr const char* kName = "OpenDenied";
  static constexpr FileAnswers kAnswers{.append = FileStatus::kAccessDenied,
                                        .read = FileStatus::kAccessDenied,
                                        .lock = FileStatus::kAccessDenied};
  ScopedFileCall<&FileCalls::open> open{[](const char*, int, mode_t) {
    errno = EACCES;
    return -1;
  }};
};

struct ReadFails {
  static constexpr const char* kName = "ReadFails";
  static constexpr FileAnswers kAnswers{.read = FileStatus::kIoError, .lockedRead = FileStatus::kIoError};
  ScopedFileCall<&FileCalls::pread> read{[](int, void*, size_t, off_t) -> ssize_t {
    errno = EIO;
    return -1;
  }};
};

#endif

}  // namespace qlxw::testing
