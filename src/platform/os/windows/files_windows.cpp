#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>

#include "os/file_calls.h"
#include "os/files.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {
namespace {

constexpr FileCalls kSystemCalls{
    .createFile =
        [](const wchar_t* name, DWORD access, DWORD share, DWORD disposition) {
          return CreateFileW(name, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        },
    .readFile = [](HANDLE file, void* buffer, DWORD size,
                   DWORD* got) { return ReadFile(file, buffer, size, got, nullptr); },
    .writeFile = [](HANDLE file, const void* buffer, DWORD size,
                    DWORD* written) { return WriteFile(file, buffer, size, written, nullptr); },
    .flushFileBuffers = [](HANDLE file) { return FlushFileBuffers(file); },
    .getFileSizeEx = [](HANDLE file, LARGE_INTEGER* size) { return GetFileSizeEx(file, size); },
    .getFileType = [](HANDLE file) { return GetFileType(file); },
    .getFileAttributes = [](const wchar_t* name) { return GetFileAttributesW(name); },
    .closeHandle = [](HANDLE handle) { return CloseHandle(handle); },
    .moveFileEx = [](const wchar_t* from, const wchar_t* to,
                     DWORD flags) { return MoveFileExW(from, to, flags); },
    .deleteFile = [](const wchar_t* name) { return DeleteFileW(name); },
    .getFullPathName = [](const wchar_t* name, DWORD size,
                          wchar_t* full) { return GetFullPathNameW(name, size, full, nullptr); },
    .createMutex = [](const wchar_t* name) { return CreateMutexW(nullptr, FALSE, name); },
    .waitForSingleObject = [](HANDLE handle,
                              DWORD milliseconds) { return WaitForSingleObject(handle, milliseconds); },
    .releaseMutex = [](HANDLE mutex) { return ReleaseMutex(mutex); },
    .getFileAttributesEx =
        [](const wchar_t* name, WIN32_FILE_ATTRIBUTE_DATA* data) {
          return GetFileAttributesExW(name, GetFileExInfoStandard, data);
        },
    .getDriveType = [](const wchar_t* root) { return GetDriveTypeW(root); },
};

FileCalls gCalls = kSystemCalls;

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

FileResult LastFailure() {
  const DWORD error = GetLastError();
  return {StatusFromLastError(error), static_cast<int>(error)};
}

bool ValidName(const std::string& path) {
  return !path.empty() && path.find('\0') == std::string::npos;
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (Valid()) {
      gCalls.closeHandle(handle_);
    }
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    const bool closed = gCalls.closeHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// A write that takes no byte is a full disk or a device gone: reported, not retried for ever.
FileResult WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    if (gCalls.writeFile(file, bytes.data(), chunk, &written) == FALSE) {
      return LastFailure();
    }
    if (written == 0) {
      return {FileStatus::kIoError, ERROR_DISK_FULL};
    }
    bytes.remove_prefix(written);
  }
  return {};
}

// Writes a temporary file beside the target, flushes it and moves it over the target.
FileResult WriteAndRename(const std::string& path, std::string_view bytes) {
  static std::atomic<unsigned> counter{0};
  const std::wstring target = WideFromUtf8(path);
  const std::wstring temporary = target + L".qlxw-tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(counter.fetch_add(1));
  Handle file(gCalls.createFile(temporary.c_str(), GENERIC_WRITE, 0, CREATE_NEW));
  if (!file.Valid()) {
    return LastFailure();
  }
  FileResult result = WriteAll(file.Get(), bytes);
  if (result.Ok() && gCalls.flushFileBuffers(file.Get()) == FALSE) {
    result = LastFailure();
  }
  if (!file.Close() && result.Ok()) {
    result = LastFailure();
  }
  if (result.Ok() && gCalls.moveFileEx(temporary.c_str(), target.c_str(),
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE) {
    result = LastFailure();
  }
  if (!result.Ok()) {
    gCalls.deleteFile(temporary.c_str());
  }
  return result;
}

// Held through a named mutex; reads and replaces go by the path.
class MutexLockedFile final : public LockedFile {
 public:
  MutexLockedFile(HANDLE mutex, std::string path) : mutex_(mutex), path_(std::move(path)) {}
  ~MutexLockedFile() override {
    gCalls.releaseMutex(mutex_);
    gCalls.closeHandle(mutex_);
  }
  MutexLockedFile(const MutexLockedFile&) = delete;
  MutexLockedFile& operator=(const MutexLockedFile&) = delete;

  FileResult ReadAll(std::size_t maxBytes, std::string& bytes) override {
    return ReadWholeFile(path_, maxBytes, bytes);
  }
  // A read-only file is left alone (said here, since not every file system refuses the move).
  FileResult Replace(std::string_view bytes) override {
    const DWORD attributes = gCalls.getFileAttributes(WideFromUtf8(path_).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      return {FileStatus::kAccessDenied, ERROR_ACCESS_DENIED};
    }
    return WriteAndRename(path_, bytes);
  }

 private:
  HANDLE mutex_;
  std::string path_;
};

// One mutex name per file (by its full path, in any letter case). The hash has the same width in
// 32-bit and 64-bit hosts, so that both lock the same mutex for the same file.
std::wstring MutexNameOf(const std::wstring& wide) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = gCalls.getFullPathName(wide.c_str(), static_cast<DWORD>(full.size()), full.data());
  if (length >= full.size()) {  // too small: the length asked for counts the terminating NUL
    full.assign(length, L'\0');
    length = gCalls.getFullPathName(wide.c_str(), static_cast<DWORD>(full.size()), full.data());
  }
  if (length == 0 || length >= full.size()) {
    full = wide;
  } else {
    full.resize(length);
  }
  CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a over the UTF-16 units
  for (const wchar_t unit : full) {
    hash = (hash ^ static_cast<std::uint16_t>(unit)) * 0x100000001b3u;
  }
  return L"Local\\qlxw-profile-" + std::to_wstring(hash);
}

}  // namespace

FileCalls& FileCallTable() {
  return gCalls;
}

const FileCalls& SystemFileCalls() {
  return kSystemCalls;
}

bool IsPossibleFileName(std::string_view path) {
  // The prefix that asks for the path as it is, unparsed, is the one place a "?" may stand.
  constexpr std::string_view kVerbatimPrefix = R"(\\?\)";
  if (path.starts_with(kVerbatimPrefix)) {
    path.remove_prefix(kVerbatimPrefix.size());
  }
  return std::none_of(path.begin(), path.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view(R"(<>"|*?)").find(c) != std::string_view::npos;
  });
}

FileResult AppendToFile(const std::string& path, std::string_view bytes) {
  if (!ValidName(path)) {
    return {FileStatus::kBadName, ERROR_INVALID_NAME};
  }
  Handle file(gCalls.createFile(WideFromUtf8(path).c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS));
  if (!file.Valid()) {
    return LastFailure();
  }
  const FileResult result = WriteAll(file.Get(), bytes);
  if (!file.Close() && result.Ok()) {
    return LastFailure();
  }
  return result;
}

FileResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  if (!ValidName(path)) {
    return {FileStatus::kBadName, ERROR_INVALID_NAME};
  }
  const Handle file(gCalls.createFile(WideFromUtf8(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING));
  if (!file.Valid()) {
    return LastFailure();
  }
  if (gCalls.getFileType(file.Get()) != FILE_TYPE_DISK) {
    return {FileStatus::kAccessDenied, ERROR_ACCESS_DENIED};
  }
  LARGE_INTEGER size{};
  if (gCalls.getFileSizeEx(file.Get(), &size) == FALSE) {
    return LastFailure();
  }
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    return {FileStatus::kTooLarge, ERROR_FILE_TOO_LARGE};
  }
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 0x40000000u));
    if (gCalls.readFile(file.Get(), bytes.data() + filled, chunk, &got) == FALSE) {
      return LastFailure();
    }
    if (got == 0) {
      bytes.resize(filled);  // the file shrank while we read
      break;
    }
    filled += got;
  }
  return {};
}

// A named mutex serialises the writers of a session; a thread waits for it at most `wait`.
FileResult LockFileForUpdate(const std::string& path, std::unique_ptr<LockedFile>& locked,
                             std::chrono::milliseconds wait) {
  locked.reset();
  if (!ValidName(path)) {
    return {FileStatus::kBadName, ERROR_INVALID_NAME};
  }
  const std::wstring wide = WideFromUtf8(path);
  HANDLE mutex = gCalls.createMutex(MutexNameOf(wide).c_str());
  if (mutex == nullptr) {
    return LastFailure();
  }
  const auto milliseconds = static_cast<DWORD>(std::clamp<long long>(wait.count(), 0, INFINITE - 1));
  const DWORD waited = gCalls.waitForSingleObject(mutex, milliseconds);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    const FileResult result =
        waited == WAIT_TIMEOUT ? FileResult{FileStatus::kBusy, WAIT_TIMEOUT} : LastFailure();
    gCalls.closeHandle(mutex);
    return result;
  }
  const Handle created(gCalls.createFile(
      wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_ALWAYS));
  if (!created.Valid()) {
    const FileResult result = LastFailure();
    gCalls.releaseMutex(mutex);
    gCalls.closeHandle(mutex);
    return result;
  }
  locked = std::make_unique<MutexLockedFile>(mutex, path);
  return {};
}

}  // namespace qlxw::platform
