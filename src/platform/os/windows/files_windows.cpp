#include <algorithm>
#include <atomic>
#include <functional>
#include <string>

#include "os/files.h"
#include "os/windows/wide_text.h"

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

bool ValidName(const std::string& path) {
  return !path.empty() && path.find('\0') == std::string::npos;
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (Valid()) {
      CloseHandle(handle_);
    }
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

FileStatus WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    if (WriteFile(file, bytes.data(), chunk, &written, nullptr) == FALSE) {
      return StatusFromLastError(GetLastError());
    }
    bytes.remove_prefix(written);
  }
  return FileStatus::kOk;
}

// Writes a temporary file beside the target, flushes it and moves it over the target.
FileStatus WriteAndRename(const std::string& path, std::string_view bytes) {
  static std::atomic<unsigned> counter{0};
  const std::wstring target = WideFromUtf8(path);
  const std::wstring temporary = target + L".qlxw-tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(counter.fetch_add(1));
  Handle file(
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    return StatusFromLastError(GetLastError());
  }
  FileStatus status = WriteAll(file.Get(), bytes);
  if (status == FileStatus::kOk && FlushFileBuffers(file.Get()) == FALSE) {
    status = StatusFromLastError(GetLastError());
  }
  if (!file.Close() && status == FileStatus::kOk) {
    status = FileStatus::kIoError;
  }
  if (status == FileStatus::kOk && MoveFileExW(temporary.c_str(), target.c_str(),
                                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE) {
    status = StatusFromLastError(GetLastError());
  }
  if (status != FileStatus::kOk) {
    DeleteFileW(temporary.c_str());
  }
  return status;
}

// Held through a named mutex; reads and replaces go by the path.
class MutexLockedFile final : public LockedFile {
 public:
  MutexLockedFile(HANDLE mutex, std::string path) : mutex_(mutex), path_(std::move(path)) {}
  ~MutexLockedFile() override {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  MutexLockedFile(const MutexLockedFile&) = delete;
  MutexLockedFile& operator=(const MutexLockedFile&) = delete;

  bool ReadAll(std::size_t maxBytes, std::string& bytes) override {
    return ReadWholeFile(path_, maxBytes, bytes);
  }
  FileStatus Replace(std::string_view bytes) override { return WriteAndRename(path_, bytes); }

 private:
  HANDLE mutex_;
  std::string path_;
};

}  // namespace

FileStatus AppendToFile(const std::string& path, std::string_view bytes) {
  if (!ValidName(path)) {
    return FileStatus::kBadName;
  }
  Handle file(CreateFileW(WideFromUtf8(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    return StatusFromLastError(GetLastError());
  }
  const FileStatus status = WriteAll(file.Get(), bytes);
  if (!file.Close() && status == FileStatus::kOk) {
    return FileStatus::kIoError;
  }
  return status;
}

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  if (!ValidName(path)) {
    return false;
  }
  const Handle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK ||
      GetFileSizeEx(file.Get(), &size) == FALSE ||
      static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 0x40000000u));
    if (ReadFile(file.Get(), bytes.data() + filled, chunk, &got, nullptr) == FALSE) {
      return false;
    }
    if (got == 0) {
      bytes.resize(filled);
      break;
    }
    filled += got;
  }
  return true;
}

std::unique_ptr<LockedFile> LockFileForUpdate(const std::string& path) {
  if (!ValidName(path)) {
    return nullptr;
  }
  // One named mutex per file (by its full path, in any letter case) serialises the writers of a session.
  std::wstring full(MAX_PATH, L'\0');
  const std::wstring wide = WideFromUtf8(path);
  DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) {
    full = wide;
  } else {
    full.resize(length);
  }
  CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  const std::wstring name = L"Local\\qlxw-profile-" + std::to_wstring(std::hash<std::wstring>{}(full));
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) {
    return nullptr;
  }
  const DWORD waited = WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return nullptr;
  }
  const Handle created(CreateFileW(wide.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!created.Valid()) {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return nullptr;
  }
  return std::make_unique<MutexLockedFile>(mutex, path);
}

}  // namespace qlxw::platform
