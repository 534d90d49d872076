#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <utility>

#include "platform/files.h"

namespace qlxw::platform {
namespace {

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

bool ValidName(const std::string& path) {
  return !path.empty() && path.find('\0') == std::string::npos;
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

FileStatus WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return StatusFromErrno(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return FileStatus::kOk;
}

class FlockLock final : public FileLock {
 public:
  explicit FlockLock(int fd) : fd_(fd) {}
  ~FlockLock() override { ::close(fd_); }  // closing releases the lock
  FlockLock(const FlockLock&) = delete;
  FlockLock& operator=(const FlockLock&) = delete;

 private:
  int fd_;
};

}  // namespace

FileStatus AppendToFile(const std::string& path, std::string_view bytes) {
  if (!ValidName(path)) {
    return FileStatus::kBadName;
  }
  Descriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (file.Get() < 0) {
    return StatusFromErrno(errno);
  }
  const FileStatus status = WriteAll(file.Get(), bytes);
  if (::close(file.Release()) != 0 && status == FileStatus::kOk) {
    return FileStatus::kIoError;
  }
  return status;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  if (!ValidName(path)) {
    return std::nullopt;
  }
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::size_t>(info.st_size) > maxBytes) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::read(file.Get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return std::nullopt;
    }
    if (got == 0) {
      bytes.resize(filled);  // the file shrank while we read
      break;
    }
    filled += static_cast<std::size_t>(got);
  }
  return bytes;
}

FileStatus ReplaceFileContents(const std::string& path, std::string_view bytes) {
  if (!ValidName(path)) {
    return FileStatus::kBadName;
  }
  static std::atomic<unsigned> counter{0};
  const std::string temporary =
      path + ".qlxw-tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
  struct stat original {};
  const bool exists = ::stat(path.c_str(), &original) == 0;
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (file.Get() < 0) {
    return StatusFromErrno(errno);
  }
  FileStatus status = WriteAll(file.Get(), bytes);
  if (status == FileStatus::kOk && exists && ::fchmod(file.Get(), original.st_mode & 07777) != 0) {
    status = StatusFromErrno(errno);
  }
  if (status == FileStatus::kOk && ::fsync(file.Get()) != 0) {
    status = StatusFromErrno(errno);
  }
  if (::close(file.Release()) != 0 && status == FileStatus::kOk) {
    status = FileStatus::kIoError;
  }
  if (status == FileStatus::kOk && ::rename(temporary.c_str(), path.c_str()) != 0) {
    status = StatusFromErrno(errno);
  }
  if (status != FileStatus::kOk) {
    ::unlink(temporary.c_str());
  }
  return status;
}

std::unique_ptr<FileLock> LockFileForUpdate(const std::string& path) {
  if (!ValidName(path)) {
    return nullptr;
  }
  // The file may be replaced by another writer between our open and our lock: then the lock is on a
  // file that no longer has the name, and we try again on the new one.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666));
    if (file.Get() < 0) {
      return nullptr;
    }
    while (::flock(file.Get(), LOCK_EX) != 0) {
      if (errno != EINTR) {
        return nullptr;
      }
    }
    struct stat locked {};
    struct stat named {};
    if (::fstat(file.Get(), &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      return std::make_unique<FlockLock>(file.Release());
    }
  }
  return nullptr;
}

}  // namespace qlxw::platform
