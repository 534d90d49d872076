#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fstream>
#include <string>
#include <utility>

#include "os/file_calls.h"
#include "os/files.h"

namespace qlxw::platform {
namespace {

constexpr FileCalls kSystemCalls{
    .open = [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    .close = ::close,
    .pread = ::pread,
    .write = ::write,
    .fsync = ::fsync,
    .fchmod = ::fchmod,
    .fstat = ::fstat,
    .stat = ::stat,
    .rename = ::rename,
    .unlink = ::unlink,
    .flock = ::flock,
    .nanosleep = ::nanosleep,
    .statfs = ::statfs,
};

FileCalls gCalls = kSystemCalls;

FileStatus StatusFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return FileStatus::kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return FileStatus::kAccessDenied;
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return FileStatus::kBadName;
    default:
      return FileStatus::kIoError;
  }
}

FileResult Failure(int error) {
  return {StatusFromErrno(error), error};
}

bool ValidName(const std::string& path) {
  return !path.empty() && path.find('\0') == std::string::npos;
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      gCalls.close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// A write that takes no byte is a full disk or a device gone: reported, not retried for ever.
FileResult WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = gCalls.write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written < 0) {
      return Failure(errno);
    }
    if (written == 0) {
      return {FileStatus::kIoError, ENOSPC};
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

// The process's umask, read once without changing it (umask() would, racing other threads).
mode_t ProcessUmask() {
  static const mode_t mask = [] {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("Umask:", 0) == 0) {
        return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
      }
    }
    return static_cast<mode_t>(07777);  // unknown: always set the mode explicitly
  }();
  return mask;
}

// The descriptor's whole content from its start.
FileResult ReadDescriptor(int fd, std::size_t size, std::string& bytes) {
  bytes.resize(size);
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got =
        gCalls.pread(fd, bytes.data() + filled, bytes.size() - filled, static_cast<off_t>(filled));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return Failure(errno);
    }
    if (got == 0) {
      bytes.resize(filled);  // the file shrank while we read
      break;
    }
    filled += static_cast<std::size_t>(got);
  }
  return {};
}

FileResult ReadRegularFile(int fd, const struct stat& info, std::size_t maxBytes, std::string& bytes) {
  if (!S_ISREG(info.st_mode)) {
    return {FileStatus::kAccessDenied, EISDIR};
  }
  if (static_cast<std::size_t>(info.st_size) > maxBytes) {
    return {FileStatus::kTooLarge, EFBIG};
  }
  return ReadDescriptor(fd, static_cast<std::size_t>(info.st_size), bytes);
}

// The temporary file is written beside the target, so that the rename never crosses file systems.
FileResult WriteAndRename(const std::string& path, std::string_view bytes, mode_t mode) {
  static std::atomic<unsigned> counter{0};
  static const std::string pid = std::to_string(::getpid());
  const std::string temporary = path + ".qlxw-tmp-" + pid + "-" + std::to_string(counter.fetch_add(1));
  Descriptor file(gCalls.open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
  if (file.Get() < 0) {
    return Failure(errno);
  }
  FileResult result = WriteAll(file.Get(), bytes);
  // The umask may have taken bits from the mode; put them back.
  if (result.Ok() && (mode & ProcessUmask()) != 0 && gCalls.fchmod(file.Get(), mode) != 0) {
    result = Failure(errno);
  }
  if (result.Ok() && gCalls.fsync(file.Get()) != 0) {
    result = Failure(errno);
  }
  if (gCalls.close(file.Release()) != 0 && result.Ok()) {
    result = Failure(errno);
  }
  if (result.Ok() && gCalls.rename(temporary.c_str(), path.c_str()) != 0) {
    result = Failure(errno);
  }
  if (!result.Ok()) {
    gCalls.unlink(temporary.c_str());
  }
  return result;
}

// Tries the lock, pausing between tries (1 ms, doubling up to 16 ms) until the time left is spent.
// The pauses asked for are what is counted, so a test that makes them instant makes the wait instant.
FileResult WaitForLock(int fd, std::chrono::milliseconds& left) {
  constexpr std::chrono::milliseconds kLongestPause{16};
  std::chrono::milliseconds pause{1};
  for (;;) {
    if (gCalls.flock(fd, LOCK_EX | LOCK_NB) == 0) {
      return {};
    }
    const int error = errno;
    if (error == EINTR) {
      continue;
    }
    if (error != EWOULDBLOCK) {
      return Failure(error);
    }
    if (left.count() <= 0) {
      return {FileStatus::kBusy, error};
    }
    const std::chrono::milliseconds step = std::min(pause, left);
    const timespec span{.tv_sec = 0, .tv_nsec = std::chrono::nanoseconds(step).count()};
    gCalls.nanosleep(&span, nullptr);  // an interrupted pause counts whole
    left -= step;
    pause = std::min(pause * 2, kLongestPause);
  }
}

class FlockedFile final : public LockedFile {
 public:
  FlockedFile(int fd, std::string path, const struct stat& info)
      : fd_(fd), path_(std::move(path)), info_(info) {}
  ~FlockedFile() override { gCalls.close(fd_); }  // closing releases the lock
  FlockedFile(const FlockedFile&) = delete;
  FlockedFile& operator=(const FlockedFile&) = delete;

  FileResult ReadAll(std::size_t maxBytes, std::string& bytes) override {
    return ReadRegularFile(fd_, info_, maxBytes, bytes);
  }
  // A file its owner may not write is left alone, as Windows leaves a read-only file.
  FileResult Replace(std::string_view bytes) override {
    if ((info_.st_mode & S_IWUSR) == 0) {
      return {FileStatus::kAccessDenied, EACCES};
    }
    return WriteAndRename(path_, bytes, info_.st_mode & 07777);
  }

 private:
  int fd_;
  std::string path_;
  struct stat info_;
};

}  // namespace

FileCalls& FileCallTable() {
  return gCalls;
}

const FileCalls& SystemFileCalls() {
  return kSystemCalls;
}

bool IsPossibleFileName(std::string_view path) {
  return path.find('\0') == std::string_view::npos;
}

FileResult AppendToFile(const std::string& path, std::string_view bytes) {
  if (!ValidName(path)) {
    return {FileStatus::kBadName, EINVAL};
  }
  Descriptor file(gCalls.open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (file.Get() < 0) {
    return Failure(errno);
  }
  const FileResult result = WriteAll(file.Get(), bytes);
  if (gCalls.close(file.Release()) != 0 && result.Ok()) {
    return Failure(errno);
  }
  return result;
}

FileResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  if (!ValidName(path)) {
    return {FileStatus::kBadName, EINVAL};
  }
  const Descriptor file(gCalls.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0));
  if (file.Get() < 0) {
    return Failure(errno);
  }
  struct stat info {};
  if (gCalls.fstat(file.Get(), &info) != 0) {
    return Failure(errno);
  }
  return ReadRegularFile(file.Get(), info, maxBytes, bytes);
}

FileResult LockFileForUpdate(const std::string& path, std::unique_ptr<LockedFile>& locked,
                             std::chrono::milliseconds wait) {
  locked.reset();
  if (!ValidName(path)) {
    return {FileStatus::kBadName, EINVAL};
  }
  // The file may be replaced by another writer between our open and our lock: then the lock is on a
  // file that no longer has the name, and we try again on the new one.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    Descriptor file(gCalls.open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666));
    if (file.Get() < 0) {
      return Failure(errno);
    }
    if (const FileResult waited = WaitForLock(file.Get(), wait); !waited.Ok()) {
      return waited;
    }
    struct stat held {};
    struct stat named {};
    if (gCalls.fstat(file.Get(), &held) != 0) {
      return Failure(errno);
    }
    if (gCalls.stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      if (!S_ISREG(held.st_mode)) {
        return {FileStatus::kAccessDenied, EISDIR};
      }
      locked = std::make_unique<FlockedFile>(file.Release(), path, held);
      return {};
    }
  }
  return {FileStatus::kBusy, EAGAIN};
}

}  // namespace qlxw::platform
