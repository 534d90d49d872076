#pragma once
// A countdown on the file-call table: while it lives every call through the table is counted, and once
// armed the N-th call fails (once, or with every later one) with the given error, the way its entry
// reports failure. Transfers can also be cut to half of what they ask, as the system may do.
// Every entry is wrapped by the same templates; the list below must name them all (checked).
//
// A test double of the file layer, as ScopedFileCall is: it knows which of the layer's calls an
// operation may do without (best-effort flushes and clean-ups, pauses, questions with a way round), so
// that a sweep over every call can tell a failure survived from one ignored. Included by tests only.
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <tuple>
#include <type_traits>
#include <vector>

#include "os/file_calls.h"

namespace qlxw::platform {

using F = FileCalls;  // short, for the lists of entries

enum class FaultMode { kOnce, kFromThenOn };

struct CountdownState {
  static inline std::atomic<int> calls{0};
  static inline std::atomic<int> failAt{0};  // 0: unarmed
  static inline FaultMode mode = FaultMode::kOnce;
  static inline int error = 0;
  static inline bool halved = false;
  static inline std::atomic<bool> failedFatal{false};    // a call the operation must not survive failed
  static inline std::atomic<bool> failedRemoval{false};  // a file could not be removed
#ifdef _WIN32
  static inline std::mutex guard;
  static inline std::vector<HANDLE> writable;  // handles open for writing: their close must succeed
#endif

  static bool FailsNow() {
    const int call = ++calls;
    const int at = failAt.load();
    return at != 0 && (call == at || (mode == FaultMode::kFromThenOn && call > at));
  }
};

// Whether `Entry` is the entry `Other`.
template <auto Entry, auto Other>
constexpr bool Is = [] {
  if constexpr (std::is_same_v<decltype(Entry), decltype(Other)>) {
    return Entry == Other;
  } else {
    return false;
  }
}();

// Whether `Entry` is one of `Set`.
template <auto Entry, auto... Set>
constexpr bool kIn = (Is<Entry, Set> || ...);

// Whether the operation may carry on after the entry failed with these arguments.
#ifdef _WIN32
template <auto Entry, class... A>
bool Survivable(A... args) {
  const auto error = static_cast<DWORD>(CountdownState::error);
  if constexpr (Is<Entry, &F::closeHandle>) {
    const std::lock_guard lock(CountdownState::guard);
    const auto& open = CountdownState::writable;
    return std::find(open.begin(), open.end(), args...) == open.end();
  } else if constexpr (kIn<Entry, &F::createFile, &F::moveFileEx>) {
    return error == ERROR_ACCESS_DENIED;  // a refused move is retried, then the file rewritten in place
  } else {
    // Leftover search and removal, pauses, and the questions that only choose the lock's name or say
    // whether a file is read-only, on a network or has links: each has a way on without its answer.
    return kIn<Entry, &F::findFirstFile, &F::findNextFile, &F::findClose, &F::deleteFile, &F::sleep,
               &F::openToQuery, &F::getFinalPathNameByHandle, &F::getFileInformationByHandle,
               &F::getFullPathName, &F::getFileAttributesEx, &F::getDriveType, &F::releaseMutex>;
  }
}
#else
template <auto Entry, class... A>
bool Survivable(A... args) {
  const int error = CountdownState::error;
  if constexpr (Is<Entry, &F::open>) {
    // The folder, opened to be flushed: best effort.
    return (std::get<1>(std::tuple<A...>(args...)) & O_DIRECTORY) != 0;
  } else if constexpr (kIn<Entry, &F::fsync, &F::close>) {
    const int fd = (args, ...);
    struct stat info {};
    const bool folder = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    return Is<Entry, &F::fsync> ? folder : (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY;
  } else if constexpr (kIn<Entry, &F::openat, &F::renameat>) {
    return error == EACCES;  // a folder that takes no new file: rewritten in place
  } else {
    // Leftover search and removal, pauses, the temporary file's own lock, a look at the name that is
    // tried again, the readers' lock (read unguarded) and the question whether a file is on a network.
    return kIn<Entry, &F::opendir, &F::readdir, &F::closedir, &F::unlink, &F::unlinkat, &F::nanosleep,
               &F::flock, &F::stat, &F::lstat, &F::lockRange, &F::statfs>;
  }
}
#endif

// The system's own call, its transfers halved when asked.
template <auto Entry, class R, class... A>
R Forward(A... args) {
  const auto& system = SystemFileCalls();
#ifdef _WIN32
  if constexpr (kIn<Entry, &F::readFile, &F::writeFile>) {
    const auto cut = [](auto first, auto buffer, DWORD size, DWORD* moved) {
      return (SystemFileCalls().*Entry)(first, buffer,
                                        CountdownState::halved ? std::max<DWORD>(1, size / 2) : size, moved);
    };
    return cut(args...);
  } else if constexpr (Is<Entry, &F::createFile>) {
    const HANDLE file = (system.*Entry)(args...);
    const auto access = std::get<1>(std::tuple<A...>(args...));
    if (file != INVALID_HANDLE_VALUE && (access & (GENERIC_WRITE | FILE_APPEND_DATA)) != 0) {
      const std::lock_guard lock(CountdownState::guard);
      CountdownState::writable.push_back(file);
    }
    return file;
  } else if constexpr (Is<Entry, &F::closeHandle>) {
    {
      const std::lock_guard lock(CountdownState::guard);
      std::erase(CountdownState::writable, args...);
    }
    return (system.*Entry)(args...);
  } else {
    return (system.*Entry)(args...);
  }
#else
  if constexpr (kIn<Entry, &F::pread, &F::write>) {
    const auto cut = [](int fd, auto buffer, size_t size, auto... rest) {
      return (SystemFileCalls().*Entry)(
          fd, buffer, CountdownState::halved ? std::max<size_t>(1, size / 2) : size, rest...);
    };
    return cut(args...);
  } else {
    return (system.*Entry)(args...);
  }
#endif
}

// The entry's own way of failing with the armed error. Calls that give something back (a descriptor,
// a listing, a handle) do so first, as the system does when it reports their failure.
template <auto Entry, class R, class... A>
R Fail(A... args) {
#ifdef _WIN32
  if constexpr (kIn<Entry, &F::closeHandle, &F::findClose> || Is<Entry, &F::releaseMutex>) {
    Forward<Entry, R>(args...);
  }
  SetLastError(static_cast<DWORD>(CountdownState::error));
  if constexpr (std::is_void_v<R>) {
    return;
  } else if constexpr (Is<Entry, &F::createMutex>) {
    return nullptr;
  } else if constexpr (std::is_same_v<R, HANDLE>) {
    return INVALID_HANDLE_VALUE;
  } else if constexpr (Is<Entry, &F::waitForSingleObject>) {
    return WAIT_FAILED;
  } else {
    return R{0};  // FALSE, no length, FILE_TYPE_UNKNOWN, DRIVE_UNKNOWN
  }
#else
  if constexpr (kIn<Entry, &F::close, &F::closedir>) {
    Forward<Entry, R>(args...);
  }
  errno = CountdownState::error;
  if constexpr (std::is_pointer_v<R>) {
    return nullptr;
  } else {
    return R(-1);
  }
#endif
}

template <auto Entry, class Call = std::remove_reference_t<decltype(std::declval<FileCalls&>().*Entry)>>
struct Wrapped;

template <auto Entry, class R, class... A>
struct Wrapped<Entry, R (*)(A...)> {
  static R Call(A... args) {
    if (!CountdownState::FailsNow()) {
      return Forward<Entry, R>(args...);
    }
    if (!Survivable<Entry>(args...)) {
      CountdownState::failedFatal = true;
    }
#ifdef _WIN32
    CountdownState::failedRemoval = CountdownState::failedRemoval || Is<Entry, &F::deleteFile>;
#else
    CountdownState::failedRemoval = CountdownState::failedRemoval || kIn<Entry, &F::unlink, &F::unlinkat>;
#endif
    return Fail<Entry, R>(args...);
  }
};

template <auto... Entries>
struct AllEntries {
  static_assert(sizeof...(Entries) * sizeof(void (*)()) == sizeof(FileCalls), "an entry is not wrapped");
  static void Wrap(FileCalls& table) { ((table.*Entries = &Wrapped<Entries>::Call), ...); }
};

#ifdef _WIN32
using FileCallList =
    AllEntries<&F::createFile, &F::openToQuery, &F::getFinalPathNameByHandle, &F::getFileInformationByHandle,
               &F::readFile, &F::writeFile, &F::flushFileBuffers, &F::setEndOfFile, &F::getFileSizeEx,
               &F::getFileType, &F::closeHandle, &F::moveFileEx, &F::deleteFile, &F::findFirstFile,
               &F::findNextFile, &F::findClose, &F::getFullPathName, &F::createMutex, &F::waitForSingleObject,
               &F::releaseMutex, &F::getFileAttributesEx, &F::getDriveType, &F::sleep>;
#else
using FileCallList = AllEntries<&F::open, &F::openat, &F::close, &F::pread, &F::write, &F::fsync, &F::fchmod,
                                &F::fchown, &F::ftruncate, &F::fstat, &F::stat, &F::lstat, &F::readlink,
                                &F::renameat, &F::unlink, &F::unlinkat, &F::flock, &F::lockRange, &F::opendir,
                                &F::readdir, &F::closedir, &F::nanosleep, &F::statfs>;
#endif

// While it lives, the whole table goes through the countdown; unarmed, it only counts.
class FileCallCountdown {
 public:
  FileCallCountdown() : saved_(FileCallTable()) {
    Arm(0, FaultMode::kOnce, 0, false);
    FileCallList::Wrap(FileCallTable());
  }
  ~FileCallCountdown() { FileCallTable() = saved_; }
  FileCallCountdown(const FileCallCountdown&) = delete;
  FileCallCountdown& operator=(const FileCallCountdown&) = delete;

  // Counts from zero again; call `at` (from 1; 0: none) fails.
  static void Arm(int at, FaultMode mode, int error, bool halved) {
    CountdownState::calls = 0;
    CountdownState::failAt = at;
    CountdownState::mode = mode;
    CountdownState::error = error;
    CountdownState::halved = halved;
    CountdownState::failedFatal = false;
    CountdownState::failedRemoval = false;
  }
  static void Disarm() {
    CountdownState::failAt = 0;
    CountdownState::halved = false;
  }
  static int Calls() { return CountdownState::calls; }
  static bool FailedFatally() { return CountdownState::failedFatal; }
  static bool FailedToRemove() { return CountdownState::failedRemoval; }

 private:
  FileCalls saved_;
};

}  // namespace qlxw::platform
