#include "platform/files.h"
#include "platform/windows/wide_text.h"

namespace qlxw::platform {
namespace {

FileStatus StatusFromLastError(DWORD error) {
  switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
      return FileStatus::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return FileStatus::kAccessDenied;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
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
  const HANDLE file =
      CreateFileW(WideFromUtf8(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return StatusFromLastError(GetLastError());
  }
  FileStatus status = FileStatus::kOk;
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
      status = StatusFromLastError(GetLastError());
      break;
    }
    bytes.remove_prefix(written);
  }
  if (!CloseHandle(file) && status == FileStatus::kOk) {
    status = FileStatus::kIoError;
  }
  return status;
}

}  // namespace qlxw::platform
