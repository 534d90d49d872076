#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "os/file_calls.h"
#include "os/file_identity.h"
#include "os/files.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {
namespace {

constexpr FileCalls kSystemCalls{
    .createFile =
        [](const wchar_t* name, DWORD access, DWORD share, DWORD disposition) {
          return CreateFileW(name, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        },
    .openToQuery =
        [](const wchar_t* name) {
          return CreateFileW(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        },
    .getFinalPathNameByHandle = [](HANDLE file, wchar_t* path,
                                   DWORD size) { return GetFinalPathNameByHandleW(file, path, size, 0); },
    .getFileInformationByHandle =
        [](HANDLE file, BY_HANDLE_FILE_INFORMATION* information) {
          return GetFileInformationByHandle(file, information);
        },
    .readFile = [](HANDLE file, void* buffer, DWORD size,
                   DWORD* got) { return ReadFile(file, buffer, size, got, nullptr); },
    .writeFile = [](HANDLE file, const void* buffer, DWORD size,
                    DWORD* written) { return WriteFile(file, buffer, size, written, nullptr); },
    .flushFileBuffers = [](HANDLE file) { return FlushFileBuffers(file); },
    .setEndOfFile = [](HANDLE file) { return SetEndOfFile(file); },
    .getFileSizeEx = [](HANDLE file, LARGE_INTEGER* size) { return GetFileSizeEx(file, size); },
    .getFileType = [](HANDLE file) { return GetFileType(file); },
    .closeHandle = [](HANDLE handle) { return CloseHandle(handle); },
    .moveFileEx = [](const wchar_t* from, const wchar_t* to,
                     DWORD flags) { return MoveFileExW(from, to, flags); },
    .deleteFile = [](const wchar_t* name) { return DeleteFileW(name); },
    .findFirstFile = [](const wchar_t* pattern,
                        WIN32_FIND_DATAW* found) { return FindFirstFileW(pattern, found); },
    .findNextFile = [](HANDLE search, WIN32_FIND_DATAW* found) { return FindNextFileW(search, found); },
    .findClose = [](HANDLE search) { return FindClose(search); },
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
    .sleep = [](DWORD milliseconds) { Sleep(milliseconds); },
};

FileCalls gCalls = kSystemCalls;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileStatus StatusFromLastError(DWORD error) {
  switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
      return FileStatus::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileStatus::kAccessDenied;
    case ERROR_SHARING_VIOLATION:  // another program holds the file
    case ERROR_LOCK_VIOLATION:
      return FileStatus::kBusy;
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

// Folders, pipes and devices are not files the library reads or rewrites. The numbers say which it
// was: a folder opened as a file fails as a file one may not open does (ERROR_ACCESS_DENIED).
FileResult NotAFile() {
  return {FileStatus::kAccessDenied, ERROR_BAD_FILE_TYPE};
}

FileResult OpenFailure(const std::wstring& name) {
  const FileResult failure = LastFailure();
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (failure.systemError == ERROR_ACCESS_DENIED &&
      gCalls.getFileAttributesEx(name.c_str(), &data) != FALSE &&
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return {FileStatus::kAccessDenied, ERROR_DIRECTORY};
  }
  return failure;
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
  void Reset(HANDLE handle) {
    if (Valid()) {
      gCalls.closeHandle(handle_);
    }
    handle_ = handle;
  }
  bool Close() {
    const bool closed = gCalls.closeHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// The path an opened file has once links, substituted drives and short names are resolved, or empty.
std::wstring FinalPathOfOpened(HANDLE file) {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = gCalls.getFinalPathNameByHandle(file, path.data(), static_cast<DWORD>(path.size()));
  if (length >= path.size()) {  // too small: the length asked for counts the terminating NUL
    path.assign(length, L'\0');
    length = gCalls.getFinalPathNameByHandle(file, path.data(), static_cast<DWORD>(path.size()));
  }
  if (length == 0 || length >= path.size()) {
    return {};
  }
  path.resize(length);
  return path;
}

// Tries `attempt` until it succeeds, pausing between tries (1 ms, doubling up to 16 ms) until pauses of
// `most` ms were asked for; those are what is counted, so a test that makes them instant makes this so.
template <class Try>
bool TryWithPauses(DWORD most, const Try& attempt) {
  for (DWORD waited = 0, pause = 1;; waited += pause, pause = std::min<DWORD>(pause * 2, 16)) {
    if (attempt()) {
      return true;
    }
    if (waited >= most) {
      return false;
    }
    gCalls.sleep(pause);
  }
}

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

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// Temporary files are named ".qlxw" + a hash of the file's name + "." + random letters: short, so that
// a file of the longest legal name has one; unguessable; and the hash says whose they are when a
// killed writer left one behind.
std::wstring TemporaryPrefix(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  std::uint32_t hash = 0x811c9dc5u;  // FNV-1a over the UTF-16 units
  for (const wchar_t unit : name) {
    hash = (hash ^ static_cast<std::uint16_t>(unit)) * 0x01000193u;
  }
  static constexpr std::wstring_view kHex = L"0123456789abcdef";
  std::wstring prefix = FolderOf(path) + L"\\.qlxw";
  for (int shift = 28; shift >= 0; shift -= 4) {
    prefix += kHex[(hash >> shift) & 0xFu];
  }
  return prefix + L".";
}

std::wstring RandomLetters() {
  static constexpr std::wstring_view kLetters = L"abcdefghijklmnopqrstuvwxyz234567";
  thread_local std::mt19937_64 random([] {
    std::random_device entropy;
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{entropy(),
                       entropy(),
                       static_cast<unsigned>(GetCurrentProcessId()),
                       static_cast<unsigned>(GetCurrentThreadId()),
                       static_cast<unsigned>(now),
                       static_cast<unsigned>(now >> 32)};
    return std::mt19937_64(seed);
  }());
  std::wstring letters;
  for (std::uint64_t bits = random(), more = random(); letters.size() < 12; bits >>= 5) {
    letters += kLetters[bits & 31u];
    if (letters.size() == 6) {
      bits = more;
    }
  }
  return letters;
}

// Leftovers are looked for on a process's first write of a file and then at most every few seconds.
bool TimeToLookForLeftovers(const std::wstring& prefix) {
  constexpr std::chrono::seconds kBetweenLooks{10};
  // Never destroyed: a manager's write-back can come late in the end of a process.
  static auto& guard = *new std::mutex;
  static auto& looked = *new std::unordered_map<std::wstring, std::chrono::steady_clock::time_point>;
  const auto now = std::chrono::steady_clock::now();
  const std::lock_guard lock(guard);
  const auto [entry, first] = looked.try_emplace(prefix, now);
  if (!first && now - entry->second < kBetweenLooks) {
    return false;
  }
  entry->second = now;
  return true;
}

// Removes the temporary files of this file that killed writers left. A live writer keeps its
// temporary file open without sharing it for deletion, so only a dead writer's file can be deleted.
void RemoveLeftovers(const std::wstring& prefix) {
  const std::wstring folder = FolderOf(prefix) + L"\\";
  std::vector<std::wstring> found;
  WIN32_FIND_DATAW entry{};
  HANDLE search = gCalls.findFirstFile((prefix + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    return;
  }
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      found.push_back(folder + entry.cFileName);
    }
  } while (gCalls.findNextFile(search, &entry) != FALSE);
  gCalls.findClose(search);
  for (const std::wstring& leftover : found) {
    gCalls.deleteFile(leftover.c_str());
  }
}

bool HeldUp(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// What a replace through a temporary file came to; `inPlace` when the folder takes no new file or
// another program keeps the file open past the retries: then the file is rewritten itself.
struct RenameOutcome {
  FileResult result;
  bool inPlace = false;
};

// Creates a new temporary file named `prefix` + random letters, shared with no one while it is written.
// A folder that refuses it takes no new file: the file is rewritten in place then.
RenameOutcome CreateTemporary(const std::wstring& prefix, std::wstring& temporary, Handle& file) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = prefix + RandomLetters();
    file.Reset(gCalls.createFile(temporary.c_str(), GENERIC_WRITE, 0, CREATE_NEW));
    if (file.Valid()) {
      return {};
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      const FileResult failure = LastFailure();
      return {failure, failure.systemError == ERROR_ACCESS_DENIED};
    }
  }
  return {LastFailure()};
}

// Writes the bytes to the temporary file, flushes and closes it.
FileResult FillTemporary(Handle& file, std::string_view bytes) {
  FileResult result = WriteAll(file.Get(), bytes);
  if (result.Ok() && gCalls.flushFileBuffers(file.Get()) == FALSE) {
    result = LastFailure();
  }
  if (!file.Close() && result.Ok()) {
    result = LastFailure();
  }
  return result;
}

// Moves the temporary file over the target, written through so that the folder is on disk too.
// Another program that has the file open holds the move up: it is tried again for about a second,
// and then the file is to be rewritten in place.
RenameOutcome MoveOver(const std::wstring& temporary, const std::wstring& target) {
  constexpr DWORD kMostWaiting = 1000;
  for (DWORD waited = 0, pause = 10;; waited += pause, pause = std::min<DWORD>(pause * 2, 100)) {
    if (gCalls.moveFileEx(temporary.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE) {
      return {};  // a hold that ended within the tries is no failure
    }
    const FileResult failure = LastFailure();
    if (!HeldUp(static_cast<DWORD>(failure.systemError))) {
      return {failure};
    }
    if (waited >= kMostWaiting) {
      return {failure, true};
    }
    gCalls.sleep(pause);
  }
}

// Writes a temporary file beside the target, flushes it and moves it over the target; the temporary
// file goes again when the move does not happen.
RenameOutcome WriteAndRename(const std::wstring& target, std::string_view bytes) {
  const std::wstring prefix = TemporaryPrefix(target);
  if (TimeToLookForLeftovers(prefix)) {
    RemoveLeftovers(prefix);
  }
  std::wstring temporary;
  Handle file(INVALID_HANDLE_VALUE);
  if (const RenameOutcome made = CreateTemporary(prefix, temporary, file); !made.result.Ok()) {
    return made;
  }
  const FileResult filled = FillTemporary(file, bytes);
  const RenameOutcome moved = filled.Ok() ? MoveOver(temporary, target) : RenameOutcome{filled};
  if (!moved.result.Ok()) {
    gCalls.deleteFile(temporary.c_str());
  }
  return moved;
}

// The file rewritten itself, from the whole new content, then flushed, as the Windows functions do:
// for a file with other names, one another program keeps open, or in a folder that takes no new file.
// A machine that stops halfway can leave it torn; the value is not lost where the system's own function
// would have written it. It is opened sharing nothing, so that no reader sees it half rewritten
// (readers wait for it: see ReadWholeFile); a reader at work is waited for a moment, and a program
// that keeps the file open is written past, sharing.
FileResult RewriteInPlace(const std::wstring& target, std::string_view bytes) {
  constexpr DWORD kMostWaitForReaders = 100;
  Handle file(INVALID_HANDLE_VALUE);
  const bool alone = TryWithPauses(kMostWaitForReaders, [&] {
    file.Reset(gCalls.createFile(target.c_str(), GENERIC_WRITE, 0, OPEN_EXISTING));
    return file.Valid() || GetLastError() != ERROR_SHARING_VIOLATION;
  });
  if (!alone) {
    file.Reset(gCalls.createFile(target.c_str(), GENERIC_WRITE, kShareAll, OPEN_EXISTING));
  }
  if (!file.Valid()) {
    return LastFailure();
  }
  FileResult result = WriteAll(file.Get(), bytes);
  if (result.Ok() && gCalls.setEndOfFile(file.Get()) == FALSE) {
    result = LastFailure();
  }
  if (result.Ok() && gCalls.flushFileBuffers(file.Get()) == FALSE) {
    result = LastFailure();
  }
  if (!file.Close() && result.Ok()) {
    result = LastFailure();
  }
  return result;
}

void ReleaseMutexes(const std::vector<HANDLE>& mutexes) {
  for (HANDLE mutex : mutexes) {
    gCalls.releaseMutex(mutex);
    gCalls.closeHandle(mutex);
  }
}

// Held through a named mutex; reads and replaces go by the path.
class MutexLockedFile final : public LockedFile {
 public:
  MutexLockedFile(std::vector<HANDLE> mutexes, std::string path, bool created)
      : mutexes_(std::move(mutexes)), path_(std::move(path)), created_(created) {}
  // A file the lock created and no write filled goes again: a failed first write, or a delete in a
  // missing file, leaves no file. It goes by its final path: made through a link to a missing file, the
  // file goes and the link stays (deleting the link's name would take the link and leave the file).
  ~MutexLockedFile() override {
    if (created_) {
      const std::wstring wide = WideFromUtf8(path_);
      const Handle file(gCalls.createFile(wide.c_str(), GENERIC_READ, kShareAll, OPEN_EXISTING));
      LARGE_INTEGER size{};
      if (file.Valid() && gCalls.getFileSizeEx(file.Get(), &size) != FALSE && size.QuadPart == 0) {
        const std::wstring final = FinalPathOfOpened(file.Get());
        gCalls.deleteFile(final.empty() ? wide.c_str() : final.c_str());
      }
    }
    ReleaseMutexes(mutexes_);
  }
  MutexLockedFile(const MutexLockedFile&) = delete;
  MutexLockedFile& operator=(const MutexLockedFile&) = delete;

  FileResult ReadAll(std::size_t maxBytes, std::string& bytes) override {
    return ReadWholeFile(path_, maxBytes, bytes);
  }
  // The file the name leads to is written, so that a symbolic link keeps leading to it; a file with
  // other names is rewritten in place. A read-only file is left alone (said here, since not every file
  // system refuses the move).
  // Links are followed through the final path of the opened file, not by looking for a reparse point:
  // Wine 8 shows a Unix link to a file as a plain file (no FILE_ATTRIBUTE_REPARSE_POINT, and
  // FILE_FLAG_OPEN_REPARSE_POINT opens the file it leads to), while Windows marks a mklink link as one;
  // on both, a file opened through a link is the file it leads to, and its final path names that file.
  FileResult Replace(std::string_view bytes) override {
    std::wstring target = WideFromUtf8(path_);
    BY_HANDLE_FILE_INFORMATION information{};
    if (const Handle file(gCalls.openToQuery(target.c_str())); file.Valid()) {
      if (std::wstring final = FinalPathOfOpened(file.Get()); !final.empty()) {
        target = std::move(final);
      }
      if (gCalls.getFileInformationByHandle(file.Get(), &information) == FALSE) {
        information = {};
      }
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
      return {FileStatus::kAccessDenied, ERROR_ACCESS_DENIED};
    }
    bool inPlace = information.nNumberOfLinks > 1;
    FileResult result;
    if (!inPlace) {
      const RenameOutcome renamed = WriteAndRename(target, bytes);
      result = renamed.result;
      inPlace = renamed.inPlace;
    }
    if (inPlace) {
      result = RewriteInPlace(target, bytes);
    }
    created_ = created_ && !result.Ok();
    return result;
  }

 private:
  std::vector<HANDLE> mutexes_;
  std::string path_;
  bool created_;
};

// The path the system resolves a name to (links, substituted drives, short names), or empty.
std::wstring FinalPathOf(const std::wstring& name) {
  const Handle file(gCalls.openToQuery(name.c_str()));
  return file.Valid() ? FinalPathOfOpened(file.Get()) : std::wstring();
}

std::wstring FullPathOf(const std::wstring& wide) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = gCalls.getFullPathName(wide.c_str(), static_cast<DWORD>(full.size()), full.data());
  if (length >= full.size()) {
    full.assign(length, L'\0');
    length = gCalls.getFullPathName(wide.c_str(), static_cast<DWORD>(full.size()), full.data());
  }
  if (length == 0 || length >= full.size()) {
    return wide;
  }
  full.resize(length);
  return full;
}

// What the file is, whatever the spelling of its name: the final path of the file, or of its folder
// and its name while it does not exist yet; the full path when neither can be asked.
std::wstring IdentityOf(const std::wstring& wide) {
  std::wstring full = FullPathOf(wide);
  if (std::wstring final = FinalPathOf(full); !final.empty()) {
    return final;
  }
  const std::size_t slash = full.find_last_of(L"\\/");
  if (slash != std::wstring::npos) {
    if (const std::wstring folder = FinalPathOf(full.substr(0, slash)); !folder.empty()) {
      return folder + L"\\" + full.substr(slash + 1);
    }
  }
  return full;
}

// One mutex name per file (by its identity, in any letter case). The hash has the same width in
// 32-bit and 64-bit hosts, so that both lock the same mutex for the same file.
std::wstring MutexNameOf(const std::wstring& wide) {
  std::wstring identity = IdentityOf(wide);
  CharUpperBuffW(identity.data(), static_cast<DWORD>(identity.size()));
  std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a over the UTF-16 units
  for (const wchar_t unit : identity) {
    hash = (hash ^ static_cast<std::uint16_t>(unit)) * 0x100000001b3u;
  }
  return L"Local\\qlxw-profile-" + std::to_wstring(hash);
}

// The index the file system gives an opened file, which every name of it shares (hard links, links,
// substituted and mapped drives, short names); 0 where the file system gives none.
std::uint64_t IndexOfOpened(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (gCalls.getFileInformationByHandle(file, &information) == FALSE) {
    return 0;
  }
  return (std::uint64_t{information.nFileIndexHigh} << 32U) | information.nFileIndexLow;
}

// One mutex per file, by its index. The volume is left out: Wine gives one file different volume
// serials through different drives, and two files of two volumes with one index only take turns
// needlessly. A file without an index goes by its path's identity.
std::wstring MutexNameOfOpened(HANDLE file, const std::wstring& wide) {
  const std::uint64_t index = IndexOfOpened(file);
  return index == 0 ? MutexNameOf(wide) : L"Local\\qlxw-profile-file-" + std::to_wstring(index);
}

// Opens an existing file to read it. A file being rewritten in place shares nothing for a moment: waited
// for, about a second at most (a rewrite takes far less). A program that keeps readers out for longer
// fails the open, rather than holding every read of the host for the writers' wait.
FileResult OpenExistingToRead(const std::wstring& wide, Handle& file) {
  constexpr DWORD kMostWaitForWriter = 1000;
  TryWithPauses(kMostWaitForWriter, [&] {
    file.Reset(gCalls.createFile(wide.c_str(), GENERIC_READ, kShareAll, OPEN_EXISTING));
    return file.Valid() || GetLastError() != ERROR_SHARING_VIOLATION;
  });
  return file.Valid() ? FileResult{} : OpenFailure(wide);
}

// Opens a file on a disk to read it, and asks its size.
FileResult OpenToRead(const std::string& path, Handle& file, std::uint64_t& size) {
  if (!ValidName(path)) {
    return {FileStatus::kBadName, ERROR_INVALID_NAME};
  }
  if (const FileResult opened = OpenExistingToRead(WideFromUtf8(path), file); !opened.Ok()) {
    return opened;
  }
  if (gCalls.getFileType(file.Get()) != FILE_TYPE_DISK) {
    return NotAFile();
  }
  LARGE_INTEGER reported{};
  if (gCalls.getFileSizeEx(file.Get(), &reported) == FALSE) {
    return LastFailure();
  }
  size = static_cast<std::uint64_t>(reported.QuadPart);
  return {};
}

// Up to `count` bytes of an opened file into `bytes`: fewer when the file shrank while it was read.
FileResult ReadOpened(HANDLE file, std::size_t count, std::string& bytes) {
  bytes.resize(count);
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 0x40000000u));
    if (gCalls.readFile(file, bytes.data() + filled, chunk, &got) == FALSE) {
      return LastFailure();
    }
    if (got == 0) {
      bytes.resize(filled);
      break;
    }
    filled += got;
  }
  return {};
}

// Opens the file a write is for, made when missing (`created` then set), waiting a moment for another
// program that holds it. Whether the lock makes the file is known from finding none first: Wine says a
// file it has just made through a link to a missing file already existed.
FileResult OpenForUpdate(const std::wstring& wide, Handle& file, bool& created) {
  FileResult opened = OpenExistingToRead(wide, file);
  if (!opened.Ok() && opened.systemError == ERROR_FILE_NOT_FOUND) {
    file.Reset(gCalls.createFile(wide.c_str(), GENERIC_READ, kShareAll, OPEN_ALWAYS));
    created = created || file.Valid();
    opened = file.Valid() ? FileResult{} : OpenFailure(wide);
  }
  if (!opened.Ok()) {
    return opened;
  }
  return gCalls.getFileType(file.Get()) == FILE_TYPE_DISK ? FileResult{} : NotAFile();
}

// The mutex a writer holds; released when this ends unless handed on.
class HeldMutexes {
 public:
  HeldMutexes() = default;
  HeldMutexes(const HeldMutexes&) = delete;
  HeldMutexes& operator=(const HeldMutexes&) = delete;
  ~HeldMutexes() { ReleaseMutexes(mutexes_); }

  FileResult Take(const std::wstring& name, DWORD milliseconds) {
    if (std::find(names_.begin(), names_.end(), name) != names_.end()) {
      return {};
    }
    HANDLE mutex = gCalls.createMutex(name.c_str());
    if (mutex == nullptr) {
      return LastFailure();
    }
    const DWORD waited = gCalls.waitForSingleObject(mutex, milliseconds);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
      const FileResult result =
          waited == WAIT_TIMEOUT ? FileResult{FileStatus::kBusy, WAIT_TIMEOUT} : LastFailure();
      gCalls.closeHandle(mutex);
      return result;
    }
    mutexes_.push_back(mutex);
    names_.push_back(name);
    return {};
  }
  std::vector<HANDLE> Release() {
    names_.clear();
    return std::exchange(mutexes_, {});
  }

 private:
  std::vector<HANDLE> mutexes_;
  std::vector<std::wstring> names_;
};

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
  const std::wstring wide = WideFromUtf8(path);
  Handle file(
      gCalls.createFile(wide.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS));
  if (!file.Valid()) {
    return OpenFailure(wide);
  }
  if (gCalls.getFileType(file.Get()) != FILE_TYPE_DISK) {  // a pipe or a device: only files are appended to
    return NotAFile();
  }
  const FileResult result = WriteAll(file.Get(), bytes);
  if (!file.Close() && result.Ok()) {
    return LastFailure();
  }
  return result;
}

FileResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  Handle file(INVALID_HANDLE_VALUE);
  std::uint64_t size = 0;
  if (const FileResult opened = OpenToRead(path, file, size); !opened.Ok()) {
    return opened;
  }
  if (size > maxBytes) {
    return {FileStatus::kTooLarge, ERROR_FILE_TOO_LARGE};
  }
  return ReadOpened(file.Get(), static_cast<std::size_t>(size), bytes);
}

FileResult ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
  Handle file(INVALID_HANDLE_VALUE);
  std::uint64_t size = 0;
  if (const FileResult opened = OpenToRead(path, file, size); !opened.Ok()) {
    return opened;
  }
  return ReadOpened(file.Get(), static_cast<std::size_t>(std::min<std::uint64_t>(size, count)), bytes);
}

// The file is asked what it is every time: a short read proves less here, where a handle can lead to a
// pipe or a console that would wait for input.
FileResult ReadWholeFileOfSize(const std::string& path, std::size_t /*expectedSize*/, std::size_t maxBytes,
                               std::string& bytes) {
  return ReadWholeFile(path, maxBytes, bytes);
}

// Asking an opened file for its times gives the same stamp only as far as the two queries agree on
// attributes: the stamp is asked by name, as every later one is, just before the read.
FileResult ReadFileAndStamp(const std::string& path, std::size_t maxBytes, std::string& bytes,
                            std::optional<FileStamp>& stamp) {
  stamp = QueryFileStamp(path);
  const FileResult read = ReadWholeFile(path, maxBytes, bytes);
  if (!read.Ok()) {
    stamp.reset();
  }
  return read;
}

// A named mutex serialises the writers of a session; a thread waits for it at most `wait`.
FileResult LockFileForUpdate(const std::string& path, std::unique_ptr<LockedFile>& locked,
                             std::chrono::milliseconds wait) {
  locked.reset();
  if (!ValidName(path)) {
    return {FileStatus::kBadName, ERROR_INVALID_NAME};
  }
  const std::wstring wide = WideFromUtf8(path);
  const auto milliseconds = static_cast<DWORD>(std::clamp<long long>(wait.count(), 0, INFINITE - 1));
  HeldMutexes held;
  bool created = false;
  // The file is opened (made when missing) before its mutex is taken, since the mutex goes by the
  // file; then the name must still lead to that file, or another writer replaced it meanwhile and the
  // new one's mutex is taken instead.
  for (int attempt = 0; attempt < 100; ++attempt) {
    Handle file(INVALID_HANDLE_VALUE);
    FileResult result = OpenForUpdate(wide, file, created);
    const std::uint64_t index = result.Ok() ? IndexOfOpened(file.Get()) : 0;
    const std::wstring name = result.Ok() ? MutexNameOfOpened(file.Get(), wide) : std::wstring();
    file.Reset(INVALID_HANDLE_VALUE);  // not kept open while waiting: an open file holds up a move over it
    if (result.Ok()) {
      result = held.Take(name, milliseconds);
    }
    if (!result.Ok()) {
      // A file made here and not written goes again (the writer that holds it finds it gone and makes
      // it anew).
      { const MutexLockedFile cleanup(held.Release(), path, created); }
      return result;
    }
    const Handle now(gCalls.openToQuery(wide.c_str()));
    if (index == 0 || (now.Valid() && IndexOfOpened(now.Get()) == index)) {
      locked = std::make_unique<MutexLockedFile>(held.Release(), path, created);
      return {};
    }
    // One mutex at a time, or two writers could each hold one the other waits for (a replaced
    // file's index is soon another file's).
    ReleaseMutexes(held.Release());
  }
  return {FileStatus::kBusy, ERROR_SHARING_VIOLATION};
}

}  // namespace qlxw::platform
