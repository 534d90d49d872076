#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace

FileStatus AppendToFile(const std::string& path, std::string_view bytes) {
  if (path.empty() || path.find('\0') != std::string::npos) {
    return FileStatus::kBadName;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    return StatusFromErrno(errno);
  }
  FileStatus status = FileStatus::kOk;
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      status = StatusFromErrno(errno);
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (::close(fd) != 0 && status == FileStatus::kOk) {
    status = FileStatus::kIoError;
  }
  return status;
}

}  // namespace qlxw::platform
