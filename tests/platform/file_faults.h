#pragma once
// Failing file seams for tests: each type replaces entries of the file-call table while it lives and
// says what each file operation must answer under it. The types have the same names and answers on
// every platform; only the calls they replace differ.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#endif

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

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

// A replaced call failing for the given cause.
#ifdef _WIN32
inline BOOL Fail(DWORD cause) {
  SetLastError(cause);
  return FALSE;
}
#else
template <class Result = int>
Result Fail(int cause) {
  errno = cause;
  return -1;
}
#endif

// Runs `then` once, right after the next read of a file's bytes, once the reader has let the file go:
// another writer landing between a read and whatever its reader does next.
struct AfterNextRead {
  static inline std::function<void()> then;
  static inline bool read = false;
  AfterNextRead() { read = false; }
  AfterNextRead(const AfterNextRead&) = delete;
  AfterNextRead& operator=(const AfterNextRead&) = delete;
  ~AfterNextRead() { then = nullptr; }  // never left to a later test
  static void RunIfRead() {
    if (read) {
      if (const auto next = std::exchange(then, nullptr)) {
        next();
      }
    }
  }
#ifdef _WIN32
  ScopedFileCall<&FileCalls::readFile> reading{[](HANDLE file, void* buffer, DWORD size, DWORD* got) {
    read = true;
    return SystemFileCalls().readFile(file, buffer, size, got);
  }};
  ScopedFileCall<&FileCalls::closeHandle> closing{[](HANDLE handle) {
    const BOOL closed = SystemFileCalls().closeHandle(handle);
    RunIfRead();
    return closed;
  }};
#else
  ScopedFileCall<&FileCalls::pread> reading{[](int fd, void* buffer, size_t size, off_t offset) {
    read = true;
    return SystemFileCalls().pread(fd, buffer, size, offset);
  }};
  ScopedFileCall<&FileCalls::close> closing{[](int fd) {
    const int closed = SystemFileCalls().close(fd);
    RunIfRead();
    return closed;
  }};
#endif
};

// Runs `then` once, while the next writer waits for a file's lock: another writer that takes its turn
// first and changes the file.
struct WhileNextLockIsAwaited {
  static inline std::function<void()> then;
  WhileNextLockIsAwaited() = default;
  WhileNextLockIsAwaited(const WhileNextLockIsAwaited&) = delete;
  WhileNextLockIsAwaited& operator=(const WhileNextLockIsAwaited&) = delete;
  ~WhileNextLockIsAwaited() { then = nullptr; }
#ifdef _WIN32
  ScopedFileCall<&FileCalls::waitForSingleObject> wait{[](HANDLE object, DWORD milliseconds) {
    if (const auto first = std::exchange(then, nullptr)) {
      first();
    }
    return SystemFileCalls().waitForSingleObject(object, milliseconds);
  }};
#else
  ScopedFileCall<&FileCalls::flock> lock{[](int fd, int operation) {
    if ((operation & LOCK_EX) != 0 && then) {
      std::exchange(then, nullptr)();
      return Fail(EWOULDBLOCK);  // busy this once: the waiter tries again
    }
    return SystemFileCalls().flock(fd, operation);
  }};
#endif
};

// The names of the temporary files the next writes make, learnt as they are made.
struct TemporaryNames {
  static inline std::vector<std::string> made;
#ifdef _WIN32
  ScopedFileCall<&FileCalls::createFile> record{
      [](const wchar_t* name, DWORD access, DWORD share, DWORD disposition) {
        if (disposition == CREATE_NEW) {
          made.push_back(std::filesystem::path(name).filename().string());
        }
        return SystemFileCalls().createFile(name, access, share, disposition);
      }};
#else
  ScopedFileCall<&FileCalls::openat> record{[](int at, const char* name, int flags, mode_t mode) {
    if ((flags & O_EXCL) != 0) {
      made.push_back(std::filesystem::path(name).filename().string());
    }
    return SystemFileCalls().openat(at, name, flags, mode);
  }};
#endif
};

// The names of the temporary files that `writes` calls of `write` (each a profile write) make, in order.
template <class Write>
std::vector<std::string> TemporaryNamesOf(int writes, const Write& write) {
  TemporaryNames::made.clear();
  const TemporaryNames names;
  for (int i = 0; i < writes; ++i) {
    write(i);
  }
  return TemporaryNames::made;
}

struct RealSeam {
  static constexpr FileAnswers kAnswers{};
};

// The move over the file refused for good (a sticky folder; on Windows another program holding the
// file, the pauses between tries taking no time): the file is rewritten in place instead.
struct RenameDenied {
  static constexpr FileAnswers kAnswers{};
#ifdef _WIN32
  ScopedFileCall<&FileCalls::moveFileEx> move{
      [](const wchar_t*, const wchar_t*, DWORD) { return Fail(ERROR_SHARING_VIOLATION); }};
  ScopedFileCall<&FileCalls::sleep> pause{[](DWORD) {}};
#else
  ScopedFileCall<&FileCalls::renameat> rename{
      [](int, const char*, int, const char*) { return Fail(EACCES); }};
#endif
};

#ifdef _WIN32
// Another program holds the file for the first three moves over it, then lets go.
struct MoveHeldUpThrice {
  static inline int held = 0;
  MoveHeldUpThrice() { held = 3; }
  ScopedFileCall<&FileCalls::moveFileEx> move{[](const wchar_t* from, const wchar_t* to, DWORD flags) {
    return held-- > 0 ? Fail(ERROR_SHARING_VIOLATION) : SystemFileCalls().moveFileEx(from, to, flags);
  }};
  ScopedFileCall<&FileCalls::sleep> pause{[](DWORD) {}};
};
#endif

struct RenameAcrossDevices {
  static constexpr FileAnswers kAnswers{.replace = FileStatus::kIoError};
#ifdef _WIN32
  ScopedFileCall<&FileCalls::moveFileEx> move{
      [](const wchar_t*, const wchar_t*, DWORD) { return Fail(ERROR_NOT_SAME_DEVICE); }};
#else
  ScopedFileCall<&FileCalls::renameat> rename{[](int, const char*, int, const char*) { return Fail(EXDEV); }};
#endif
};

// Legal short transfers: each call moves at most half of what it was asked.
struct HalfTransfers {
  static constexpr FileAnswers kAnswers{};
#ifdef _WIN32
  ScopedFileCall<&FileCalls::writeFile> write{
      [](HANDLE file, const void* buffer, DWORD size, DWORD* written) {
        return SystemFileCalls().writeFile(file, buffer, std::max<DWORD>(1, size / 2), written);
      }};
  ScopedFileCall<&FileCalls::readFile> read{[](HANDLE file, void* buffer, DWORD size, DWORD* got) {
    return SystemFileCalls().readFile(file, buffer, std::max<DWORD>(1, size / 2), got);
  }};
#else
  ScopedFileCall<&FileCalls::write> write{[](int fd, const void* buffer, size_t size) {
    return SystemFileCalls().write(fd, buffer, std::max<size_t>(1, size / 2));
  }};
  ScopedFileCall<&FileCalls::pread> read{[](int fd, void* buffer, size_t size, off_t offset) {
    return SystemFileCalls().pread(fd, buffer, std::max<size_t>(1, size / 2), offset);
  }};
#endif
};

// The disk fills up halfway through a write.
struct DiskFullHalfway {
  static constexpr FileAnswers kAnswers{.append = FileStatus::kIoError, .replace = FileStatus::kIoError};
  static inline bool wroteHalf = false;
  DiskFullHalfway() { wroteHalf = false; }
#ifdef _WIN32
  ScopedFileCall<&FileCalls::writeFile> write{
      [](HANDLE file, const void* buffer, DWORD size, DWORD* written) {
        return std::exchange(wroteHalf, true)
                   ? Fail(ERROR_DISK_FULL)
                   : SystemFileCalls().writeFile(file, buffer, std::max<DWORD>(1, size / 2), written);
      }};
#else
  ScopedFileCall<&FileCalls::write> write{[](int fd, const void* buffer, size_t size) -> ssize_t {
    return std::exchange(wroteHalf, true)
               ? Fail<ssize_t>(ENOSPC)
               : SystemFileCalls().write(fd, buffer, std::max<size_t>(1, size / 2));
  }};
#endif
};

struct FlushFails {
  static constexpr FileAnswers kAnswers{.replace = FileStatus::kIoError};
#ifdef _WIN32
  ScopedFileCall<&FileCalls::flushFileBuffers> flush{[](HANDLE) { return Fail(ERROR_IO_DEVICE); }};
#else
  ScopedFileCall<&FileCalls::fsync> fsync{[](int) { return Fail(EIO); }};
#endif
};

// Another writer never lets go; on POSIX the pauses between tries take no time, so the wait ends at once.
struct LockNeverObtained {
  static constexpr FileAnswers kAnswers{.lock = FileStatus::kBusy};
#ifdef _WIN32
  ScopedFileCall<&FileCalls::waitForSingleObject> wait{[](HANDLE, DWORD) -> DWORD { return WAIT_TIMEOUT; }};
#else
  ScopedFileCall<&FileCalls::flock> lock{[](int, int) { return Fail(EWOULDBLOCK); }};
  ScopedFileCall<&FileCalls::nanosleep> pause{[](const timespec*, timespec*) { return 0; }};
#endif
};

struct OpenDenied {
  static constexpr FileAnswers kAnswers{.append = FileStatus::kAccessDenied,
                                        .read = FileStatus::kAccessDenied,
                                        .lock = FileStatus::kAccessDenied};
#ifdef _WIN32
  ScopedFileCall<&FileCalls::createFile> open{[](const wchar_t*, DWORD, DWORD, DWORD) -> HANDLE {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }};
#else
  ScopedFileCall<&FileCalls::open> open{[](const char*, int, mode_t) { return Fail(EACCES); }};
#endif
};

struct ReadFails {
  static constexpr FileAnswers kAnswers{.read = FileStatus::kIoError, .lockedRead = FileStatus::kIoError};
#ifdef _WIN32
  ScopedFileCall<&FileCalls::readFile> read{[](HANDLE, void*, DWORD, DWORD*) { return Fail(ERROR_CRC); }};
#else
  ScopedFileCall<&FileCalls::pread> read{[](int, void*, size_t, off_t) { return Fail<ssize_t>(EIO); }};
#endif
};

}  // namespace qlxw::testing
