#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <string>
#include <utility>

#include "os/files.h"

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
bool ReadDescriptor(int fd, std::size_t size, std::string& bytes) {
  bytes.resize(size);
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::pread(fd, bytes.data() + filled, bytes.size() - filled, static_cast<off_t>(filled));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return false;
    }
    if (got == 0) {
      bytes.resize(filled);  // the file shrank while we read
      break;
    }
    filled += static_cast<std::size_t>(got);
  }
  return true;
}

// The temporary file is written beside the target, so that the rename never crosses file systems.
FileStatus WriteAndRename(const std::string& path, std::string_view bytes, mode_t mode) {
  static std::atomic<unsigned> counter{0};
  static const std::string pid = std::to_string(::getpid());
  const std::string temporary = path + ".qlxw-tmp-" + pid + "-" + std::to_string(counter.fetch_add(1));
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
  if (file.Get() < 0) {
    return StatusFromErrno(errno);
  }
  FileStatus status = WriteAll(file.Get(), bytes);
  // The umask may have taken bits from the mode; put them back.
  if (status == FileStatus::kOk && (mode & ProcessUmask()) != 0 && ::fchmod(file.Get(), mode) != 0) {
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

class FlockedFile final : public LockedFile {
 public:
  FlockedFile(int fd, std::string path, const struct stat& info)
      : fd_(fd),
        path_(std::move(path)),
        size_(static_cast<std::size_t>(info.st_size)),
        mode_(info.st_mode & 07777) {}
  ~FlockedFile() override { ::close(fd_); }  // closing releases the lock
  FlockedFile(const FlockedFile&) = delete;
  FlockedFile& operator=(const FlockedFile&) = delete;

  bool ReadAll(std::size_t maxBytes, std::string& bytes) override {
    return size_ <= maxBytes && ReadDescriptor(fd_, size_, bytes);
  }
  // A file its owner may not write is left alone, as Windows leaves a read-only file.
  FileStatus Replace(std::string_view bytes) override {
    return (mode_ & S_IWUSR) == 0 ? FileStatus::kAccessDenied : WriteAndRename(path_, bytes, mode_);
  }

 private:
  int fd_;
  std::string path_;
  std::size_t size_;
  mode_t mode_;
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

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  if (!ValidName(path)) {
    return false;
  }
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::size_t>(info.st_size) > maxBytes) {
    return false;
  }
  return ReadDescriptor(file.Get(), static_cast<std::size_t>(info.st_size), bytes);
}

std::unique_ptr<LockedFile> LockFileForUpdate(const std::string& path) {
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
      if (!S_ISREG(locked.st_mode)) {
        return nullptr;
      }
      return std::make_unique<FlockedFile>(file.Release(), path, locked);
    }
  }
  return nullptr;
}

}  // namespace qlxw::platform
