#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "os/file_calls.h"
#include "os/file_identity.h"
#include "os/files.h"
#include "os/posix/stamp_of.h"

namespace qlxw::platform {
namespace {

constexpr FileCalls kSystemCalls{
    .open = [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    .openat = [](int folder, const char* name, int flags,
                 mode_t mode) { return ::openat(folder, name, flags, mode); },
    .close = ::close,
    .pread = ::pread,
    .write = ::write,
    .fsync = ::fsync,
    .fchmod = ::fchmod,
    .fchown = ::fchown,
    .ftruncate = ::ftruncate,
    .fstat = ::fstat,
    .stat = ::stat,
    .lstat = ::lstat,
    .readlink = ::readlink,
    .renameat = ::renameat,
    .unlink = ::unlink,
    .unlinkat = ::unlinkat,
    .flock = ::flock,
    .lockRange = [](int fd, int command, struct flock* range) { return ::fcntl(fd, command, range); },
    .opendir = ::opendir,
    .readdir = ::readdir,
    .closedir = ::closedir,
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
    case ENXIO:  // a pipe with no reader, a device with no unit: no file
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
  void Reset(int fd) {
    if (fd_ >= 0) {
      gCalls.close(fd_);
    }
    fd_ = fd;
  }

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

// A copy from the file system into memory that begins less than 32 bytes past a page boundary runs
// several times slower (the processor takes its stores for the loads that follow them at the same page
// offsets), and the allocator puts large blocks 16 bytes past one. A large read into such a block goes
// 64 bytes further on, and its bytes are moved down after: the move costs a fraction of the slow copy.
constexpr std::size_t kLargeRead = std::size_t{16} << 10;
constexpr std::size_t kReadShift = 64;

// Sizes `bytes` for a read of `size` bytes; returns where in it the read is to start.
std::size_t PrepareRead(std::string& bytes, std::size_t size) {
  if (size < kLargeRead) {
    bytes.resize(size);
    return 0;
  }
  bytes.resize(size + kReadShift);
  constexpr std::uintptr_t kPage = 4096;
  constexpr std::uintptr_t kSlowZone = 32;
  return reinterpret_cast<std::uintptr_t>(bytes.data()) % kPage < kSlowZone ? kReadShift : 0;
}

// Keeps the `got` bytes that a read put at `start`.
void KeepRead(std::string& bytes, std::size_t start, std::size_t got) {
  bytes.erase(0, start);
  bytes.resize(got);
}

// The descriptor's whole content from its start.
FileResult ReadDescriptor(int fd, std::size_t size, std::string& bytes) {
  const std::size_t start = PrepareRead(bytes, size);
  std::size_t filled = 0;
  while (filled < size) {
    const ssize_t got =
        gCalls.pread(fd, bytes.data() + start + filled, size - filled, static_cast<off_t>(filled));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return Failure(errno);
    }
    if (got == 0) {
      break;  // the file shrank while we read
    }
    filled += static_cast<std::size_t>(got);
  }
  KeepRead(bytes, start, filled);
  return {};
}

// Folders, pipes, devices and sockets are not files the library reads or rewrites.
FileResult NotARegularFile(const struct stat& info) {
  return {FileStatus::kAccessDenied, S_ISDIR(info.st_mode) ? EISDIR : ENXIO};
}

bool SameFile(const struct stat& one, const struct stat& other) {
  return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

// Asks the opened file what it is (`info`): a failure unless it is a regular file.
FileResult StatRegular(int fd, struct stat& info) {
  if (gCalls.fstat(fd, &info) != 0) {
    return Failure(errno);
  }
  if (!S_ISREG(info.st_mode)) {
    return NotARegularFile(info);
  }
  return {};
}

// Reads a regular file whose stat is `info` whole.
FileResult ReadRegularFile(int fd, const struct stat& info, std::size_t maxBytes, std::string& bytes) {
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {  // st_size is wider than size_t in 32 bits
    return {FileStatus::kTooLarge, EFBIG};
  }
  return ReadDescriptor(fd, static_cast<std::size_t>(info.st_size), bytes);
}

// Tries `attempt` (a lock taken without waiting) until it succeeds, pausing between tries (1 ms,
// doubling up to 16 ms) until the time left is spent. The pauses asked for are what is counted, so a
// test that makes them instant makes the wait instant.
template <class Attempt>
FileResult WaitFor(const Attempt& attempt, std::chrono::milliseconds& left) {
  constexpr std::chrono::milliseconds kLongestPause{16};
  std::chrono::milliseconds pause{1};
  for (;;) {
    if (attempt()) {
      return {};
    }
    const int error = errno;
    if (error == EINTR) {
      continue;
    }
    if (error != EWOULDBLOCK && error != EAGAIN && error != EACCES) {
      return Failure(error);
    }
    if (left.count() <= 0) {
      return {FileStatus::kBusy, error};
    }
    const std::chrono::milliseconds step = std::min(pause, left);
    // A pause is under a second: its nanoseconds fit tv_nsec's long on 32-bit systems too.
    const timespec span{.tv_sec = 0, .tv_nsec = static_cast<long>(std::chrono::nanoseconds(step).count())};
    gCalls.nanosleep(&span, nullptr);  // an interrupted pause counts whole
    left -= step;
    pause = std::min(pause * 2, kLongestPause);
  }
}

// Writers take turns by the file's flock, held from before their read until after their write.
bool TryWriterLock(int fd) {
  return gCalls.flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// A rewrite in place holds a write lock of the file's first byte while it writes, and a reader holds a
// read lock of it while it reads: so no reader sees the rewrite half done, while a writer that renames
// a new file over the old one holds up no reader and no reader holds it up. The lock is the open
// file's (F_OFD_SETLK), so threads of one process exclude each other too.
#ifdef F_OFD_SETLK
constexpr int kLockRangeCommand = F_OFD_SETLK;
#else
constexpr int kLockRangeCommand = F_SETLK;
#endif

bool TryFirstByteLock(int fd, short kind) {
  struct flock range {};
  range.l_type = kind;
  range.l_whence = SEEK_SET;
  range.l_start = 0;
  range.l_len = 1;
  return gCalls.lockRange(fd, kLockRangeCommand, &range) == 0;
}

// A reader waits for a rewrite in place about a second at most (it takes far less); then, or where the
// file system offers no such lock, it reads the file as it is. Only a regular file is waited for.
void WaitForRewriteInPlace(int fd) {
  if (TryFirstByteLock(fd, F_RDLCK)) {
    return;
  }
  struct stat info {};
  if (const int error = errno;
      (error != EAGAIN && error != EACCES) || gCalls.fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    return;
  }
  std::chrono::milliseconds left{1000};
  WaitFor([fd] { return TryFirstByteLock(fd, F_RDLCK); }, left);
}

// Opened without blocking: a pipe with no writer or a device would otherwise hold the reader for ever.
FileResult OpenToRead(const std::string& path, Descriptor& file) {
  if (!ValidName(path)) {
    return {FileStatus::kBadName, EINVAL};
  }
  file.Reset(gCalls.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0));
  if (file.Get() < 0) {
    return Failure(errno);
  }
  WaitForRewriteInPlace(file.Get());
  return {};
}

// Asks the opened file what it is (`info`) and reads it whole when it is a regular file.
FileResult ReadOpenedFile(int fd, std::size_t maxBytes, std::string& bytes, struct stat& info) {
  if (const FileResult regular = StatRegular(fd, info); !regular.Ok()) {
    return regular;
  }
  return ReadRegularFile(fd, info, maxBytes, bytes);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The file a path names once the symbolic links of its last part are followed: a write rewrites the
// link's target and keeps the link (a dangling link's target is created, as open() would).
FileResult FollowLinks(std::string path, std::string& target) {
  constexpr int kMostLinks = 40;  // as the system's own limit
  std::array<char, PATH_MAX> link{};
  for (int hop = 0; hop < kMostLinks; ++hop) {
    struct stat info {};
    if (gCalls.lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = std::move(path);
      return {};
    }
    const ssize_t length = gCalls.readlink(path.c_str(), link.data(), link.size());
    if (length < 0) {
      return Failure(errno);
    }
    if (length == 0 || static_cast<std::size_t>(length) == link.size()) {
      return {FileStatus::kBadName, ENAMETOOLONG};
    }
    const std::string_view to(link.data(), static_cast<std::size_t>(length));
    path = to.front() == '/' ? std::string(to) : FolderOf(path) + "/" + std::string(to);
  }
  return {FileStatus::kBadName, ELOOP};
}

// A write larger than the process may make a file would stop the process (SIGXFSZ) halfway: refused
// before it starts.
FileResult FitsSizeLimit(std::size_t size) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && size > limit.rlim_cur) {
    return {FileStatus::kIoError, EFBIG};
  }
  return {};
}

// A path's folder (with its last slash; "./" when it has none) and its last part.
struct PathParts {
  std::string folder;
  std::string name;
};

PathParts SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return {"./", path};
  }
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// Temporary files are named ".qlxw" + a hash of the file's name + "." + random letters: short, so that
// a file of the longest legal name has one; unguessable, so that no other program can take the name
// first; and the hash says whose they are when a killed writer left one behind.
std::string TemporaryStart(std::string_view name) {
  std::uint32_t hash = 0x811c9dc5u;  // FNV-1a
  for (const char c : name) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x01000193u;
  }
  static constexpr std::string_view kHex = "0123456789abcdef";
  std::string start = ".qlxw";
  for (int shift = 28; shift >= 0; shift -= 4) {
    start += kHex[(hash >> shift) & 0xFu];
  }
  return start + ".";
}

// The system's random bytes, taken for 32 names at a time: one call less on every write. A forked child
// may repeat its parent's names; creation is exclusive and retried, so that costs a retry at most.
bool TakeRandomBytes(std::array<unsigned char, 12>& random) {
  constexpr std::size_t kNames = 32;
  thread_local std::array<unsigned char, 12 * kNames> stock{};
  thread_local std::size_t used = stock.size();
  if (used == stock.size()) {
    if (::getrandom(stock.data(), stock.size(), GRND_NONBLOCK) != static_cast<ssize_t>(stock.size())) {
      return false;
    }
    used = 0;
  }
  std::copy_n(stock.begin() + static_cast<std::ptrdiff_t>(used), random.size(), random.begin());
  used += random.size();
  return true;
}

std::string RandomLetters() {
  static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz234567";
  static std::atomic<std::uint64_t> fallback{0};
  std::array<unsigned char, 12> random{};
  if (!TakeRandomBytes(random)) {
    // No entropy yet (early boot): still unique, since creation is exclusive and retried.
    std::uint64_t mixed =
        fallback.fetch_add(0x9e3779b97f4a7c15u) ^
        static_cast<std::uint64_t>(::getpid()) * 0xff51afd7ed558ccdu ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (unsigned char& byte : random) {
      byte = static_cast<unsigned char>(mixed);
      mixed = (mixed >> 5) | (mixed << 59);
    }
  }
  std::string letters;
  for (const unsigned char byte : random) {
    letters += kLetters[byte & 31u];
  }
  return letters;
}

// Leftovers are looked for on a process's first write of a file and then at most every few seconds,
// so that the folder is not listed on every write.
bool TimeToLookForLeftovers(const std::string& folder, const std::string& start) {
  constexpr std::chrono::seconds kBetweenLooks{10};
  // Never destroyed: a manager's write-back can come late in the end of a process.
  static auto& guard = *new std::mutex;
  static auto& looked = *new std::unordered_map<std::string, std::chrono::steady_clock::time_point>;
  // A forked child has not looked yet: it forgets what its parent did (no system call on every write).
  // The fork waits for the table to be whole.
  static const bool forgetsInChild = [] {
    return ::pthread_atfork([] { guard.lock(); }, [] { guard.unlock(); },
                            [] {
                              looked.clear();
                              guard.unlock();
                            }) == 0;
  }();
  const auto now = std::chrono::steady_clock::now();
  const std::lock_guard lock(guard);
  const auto [place, first] = looked.try_emplace(folder + start, now);
  if (!first && forgetsInChild && now - place->second < kBetweenLooks) {
    return false;
  }
  place->second = now;
  return true;
}

// Removes the temporary files of this file that killed writers left. A live writer locks its
// temporary file until it has renamed it, so a file whose lock is free has no writer any more.
void RemoveLeftovers(const std::string& folder, const std::string& start) {
  std::vector<std::string> found;
  if (DIR* listing = gCalls.opendir(folder.c_str())) {
    while (const dirent* entry = gCalls.readdir(listing)) {
      if (std::string_view(entry->d_name).starts_with(start)) {
        found.push_back(folder + entry->d_name);
      }
    }
    gCalls.closedir(listing);
  }
  for (const std::string& leftover : found) {
    const Descriptor file(gCalls.open(leftover.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0));
    struct stat held {};
    struct stat named {};
    if (file.Get() >= 0 && gCalls.flock(file.Get(), LOCK_EX | LOCK_NB) == 0 &&
        gCalls.fstat(file.Get(), &held) == 0 && S_ISREG(held.st_mode) &&
        gCalls.lstat(leftover.c_str(), &named) == 0 && SameFile(held, named)) {
      gCalls.unlink(leftover.c_str());
    }
  }
}

bool FolderRefuses(int error) {
  return error == EACCES || error == EPERM;
}

// Creates a new temporary file of the given mode, named `start` + random letters in the folder `at`.
FileResult CreateTemporary(int at, const std::string& start, mode_t mode, std::string& temporary,
                           Descriptor& file, bool& inPlace) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = start + RandomLetters();
    file.Reset(
        gCalls.openat(at, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (file.Get() >= 0) {
      return {};
    }
    if (errno != EEXIST) {
      inPlace = FolderRefuses(errno);
      return Failure(errno);
    }
  }
  return {FileStatus::kIoError, EEXIST};
}

// Gives the temporary file the file's owner, group and mode.
FileResult TakeOwnerAndMode(int fd, const struct stat& original, bool& inPlace) {
  struct stat made {};
  if (gCalls.fstat(fd, &made) != 0) {
    return Failure(errno);
  }
  if ((made.st_uid != original.st_uid || made.st_gid != original.st_gid) &&
      gCalls.fchown(fd, original.st_uid, original.st_gid) != 0) {
    const int error = errno;
    inPlace = FolderRefuses(error);  // another user's file, written by its group: it stays theirs
    return Failure(error);
  }
  // The umask may have taken bits from the mode, and a change of owner takes the set-id bits.
  const mode_t mode = original.st_mode & 07777;
  if ((made.st_mode & 07777) != mode && gCalls.fchmod(fd, mode) != 0) {
    return Failure(errno);
  }
  return {};
}

// Writes the bytes to the temporary file, makes it the file's own and flushes it.
FileResult FillTemporary(int fd, std::string_view bytes, const struct stat& original, bool& inPlace) {
  gCalls.flock(fd, LOCK_EX | LOCK_NB);  // held until renamed: see RemoveLeftovers
  FileResult result = WriteAll(fd, bytes);
  if (result.Ok()) {
    result = TakeOwnerAndMode(fd, original, inPlace);
  }
  if (result.Ok() && gCalls.fsync(fd) != 0) {
    result = Failure(errno);
  }
  return result;
}

FileResult RenameOver(int at, const std::string& temporary, const std::string& name, bool& inPlace) {
  if (gCalls.renameat(at, temporary.c_str(), at, name.c_str()) != 0) {
    const int error = errno;
    inPlace = FolderRefuses(error);  // a sticky folder and another user's file
    return Failure(error);
  }
  return {};
}

// Closes the temporary file, and removes it unless it was renamed. A failed close fails the write.
FileResult CloseTemporary(int at, const std::string& temporary, Descriptor& file, FileResult result) {
  if (!result.Ok()) {
    gCalls.unlinkat(at, temporary.c_str(), 0);
  }
  if (gCalls.close(file.Release()) != 0 && result.Ok()) {
    result = Failure(errno);
  }
  return result;
}

// Writes the bytes to a new temporary file beside the file (so that the rename never crosses file
// systems), with the file's owner, group and mode, flushes it and renames it over the file. When the
// folder cannot take a new file, or the owner cannot be kept this way, `inPlace` is set and nothing is
// left behind.
FileResult WriteAndRename(const std::string& path, std::string_view bytes, const struct stat& original,
                          bool& inPlace) {
  const PathParts parts = SplitPath(path);
  const std::string start = TemporaryStart(parts.name);
  if (TimeToLookForLeftovers(parts.folder, start)) {
    RemoveLeftovers(parts.folder, start);
  }
  // Names relative to the folder, which is flushed after the rename too, or a power cut could bring
  // the old file back. A folder that cannot be opened is named in full and not flushed: not every
  // file system flushes folders, and the new content is in place either way.
  const Descriptor folder(gCalls.open(parts.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  const bool relative = folder.Get() >= 0;
  const int at = relative ? folder.Get() : AT_FDCWD;
  std::string temporary;
  Descriptor file(-1);
  if (const FileResult made = CreateTemporary(at, relative ? start : parts.folder + start,
                                              original.st_mode & 07777, temporary, file, inPlace);
      !made.Ok()) {
    return made;
  }
  FileResult result = FillTemporary(file.Get(), bytes, original, inPlace);
  if (result.Ok()) {
    result = RenameOver(at, temporary, relative ? parts.name : path, inPlace);
  }
  result = CloseTemporary(at, temporary, file, result);
  if (result.Ok() && relative) {
    gCalls.fsync(folder.Get());
  }
  return result;
}

// A file with other names (hard links), or in a folder this user cannot write, is rewritten itself,
// from the whole new content, then flushed, as the Windows functions do: its other names and its
// folder stay as they are, at the price of a torn file should the machine stop halfway.
FileResult RewriteInPlace(const std::string& path, std::string_view bytes, const struct stat& held) {
  Descriptor file(gCalls.open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC, 0));
  if (file.Get() < 0) {
    return Failure(errno);
  }
  struct stat info {};
  if (gCalls.fstat(file.Get(), &info) != 0) {
    return Failure(errno);
  }
  if (!SameFile(info, held)) {
    return {FileStatus::kBusy, EAGAIN};  // replaced by a program that does not lock
  }
  std::chrono::milliseconds left = kLockWait;
  if (const FileResult alone = WaitFor([&file] { return TryFirstByteLock(file.Get(), F_WRLCK); }, left);
      !alone.Ok() && alone.status == FileStatus::kBusy) {
    return alone;  // readers kept it for the whole wait; a system without the lock writes unguarded
  }
  FileResult result = WriteAll(file.Get(), bytes);
  if (result.Ok() && gCalls.ftruncate(file.Get(), static_cast<off_t>(bytes.size())) != 0) {
    result = Failure(errno);
  }
  if (result.Ok() && gCalls.fsync(file.Get()) != 0) {
    result = Failure(errno);
  }
  if (gCalls.close(file.Release()) != 0 && result.Ok()) {
    result = Failure(errno);
  }
  return result;
}

// A file made for a write goes again while nothing is in it: a failed first write, or a delete in a
// missing file, leaves no file.
void RemoveIfStillEmpty(const std::string& path, const struct stat& made) {
  struct stat named {};
  if (gCalls.stat(path.c_str(), &named) == 0 && SameFile(named, made) && named.st_size == 0) {
    gCalls.unlink(path.c_str());
  }
}

// Makes the missing file a write is for; false (the descriptor left invalid, errno set) when it could
// not, EEXIST when another writer made it first.
bool MakeMissingFile(const std::string& path, Descriptor& file) {
  file.Reset(gCalls.open(path.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0666));
  return file.Get() >= 0;
}

// Opens `target`, the file a write of `path` is for (`file` invalid and errno set when it cannot).
// Most files are no link: the first open says so (ELOOP, Linux's answer to O_NOFOLLOW) without asking
// for the name first; a link is followed then, and `target` becomes the file it leads to.
FileResult OpenFollowingLinks(const std::string& path, std::string& target, bool& linksFollowed,
                              Descriptor& file) {
  constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
  file.Reset(gCalls.open(target.c_str(), kFlags | (linksFollowed ? 0 : O_NOFOLLOW), 0));
  if (file.Get() < 0 && errno == ELOOP && !linksFollowed) {
    linksFollowed = true;
    if (const FileResult followed = FollowLinks(path, target); !followed.Ok()) {
      return followed;
    }
    file.Reset(gCalls.open(target.c_str(), kFlags, 0));
  }
  return {};
}

// Takes the writers' lock of an opened file and puts in `held` what the file is once it is taken: a
// writer that held it may have rewritten it in place (a new size) or given it another name. A pipe or a
// device someone holds is refused, not waited for.
FileResult TakeWriterLock(int fd, std::chrono::milliseconds& wait, struct stat& held) {
  if (TryWriterLock(fd)) {
    return StatRegular(fd, held);
  }
  if (const FileResult regular = StatRegular(fd, held); !regular.Ok()) {
    return regular;
  }
  const FileResult waited = WaitFor([fd] { return TryWriterLock(fd); }, wait);
  if (waited.Ok()) {
    return StatRegular(fd, held);
  }
  // Asked again all the same: a file the lock made goes again by what it is now.
  return gCalls.fstat(fd, &held) != 0 ? Failure(errno) : waited;
}

class FlockedFile final : public LockedFile {
 public:
  FlockedFile(int fd, std::string path, const struct stat& info, bool created)
      : fd_(fd), path_(std::move(path)), info_(info), created_(created) {}
  // A file the lock created and no write filled goes again. Closing releases the lock.
  ~FlockedFile() override {
    if (created_) {
      RemoveIfStillEmpty(path_, info_);
    }
    gCalls.close(fd_);
  }
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
    if (const FileResult fits = FitsSizeLimit(bytes.size()); !fits.Ok()) {
      return fits;
    }
    bool inPlace = info_.st_nlink > 1;
    FileResult result;
    if (!inPlace) {
      result = WriteAndRename(path_, bytes, info_, inPlace);
    }
    if (inPlace) {
      result = RewriteInPlace(path_, bytes, info_);
    }
    created_ = created_ && !result.Ok();
    return result;
  }

 private:
  int fd_;
  std::string path_;
  struct stat info_;
  bool created_;
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
  // Without blocking, as a read: a pipe with no reader is refused at once, one with a reader (or a
  // device) too, since a full pipe would take part of the record.
  Descriptor file(gCalls.open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666));
  if (file.Get() < 0) {
    return Failure(errno);
  }
  struct stat info {};
  if (const FileResult regular = StatRegular(file.Get(), info); !regular.Ok()) {
    return regular;
  }
  const FileResult result = WriteAll(file.Get(), bytes);
  if (gCalls.close(file.Release()) != 0 && result.Ok()) {
    return Failure(errno);
  }
  return result;
}

FileResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  return ReadWholeFileOfSize(path, 0, maxBytes, bytes);
}

FileResult ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
  Descriptor file(-1);
  if (const FileResult opened = OpenToRead(path, file); !opened.Ok()) {
    return opened;
  }
  struct stat info {};
  if (const FileResult regular = StatRegular(file.Get(), info); !regular.Ok()) {
    return regular;
  }
  return ReadDescriptor(
      file.Get(),
      static_cast<std::size_t>(std::min(static_cast<std::uintmax_t>(info.st_size), std::uintmax_t{count})),
      bytes);
}

FileResult ReadFileAndStamp(const std::string& path, std::size_t maxBytes, std::string& bytes,
                            std::optional<FileStamp>& stamp) {
  stamp.reset();
  Descriptor file(-1);
  if (const FileResult opened = OpenToRead(path, file); !opened.Ok()) {
    return opened;
  }
  struct stat info {};
  const FileResult read = ReadOpenedFile(file.Get(), maxBytes, bytes, info);
  if (read.Ok()) {
    stamp = StampOf(info);
  }
  return read;
}

// One byte more than expected is asked for: a regular file of the expected size answers short, at
// its end. Most devices answer in full, a pipe, a terminal or a folder fails, a file that grew answers
// in full, one that shrank shorter still: each is then asked what it is and read as a whole. With no
// size expected (0, which an empty answer of a device could match too) it is always asked.
FileResult ReadWholeFileOfSize(const std::string& path, std::size_t expectedSize, std::size_t maxBytes,
                               std::string& bytes) {
  Descriptor file(-1);
  if (const FileResult opened = OpenToRead(path, file); !opened.Ok()) {
    return opened;
  }
  if (expectedSize > 0 && expectedSize <= maxBytes) {
    const std::size_t start = PrepareRead(bytes, expectedSize + 1);
    ssize_t got = -1;
    do {
      got = gCalls.pread(file.Get(), bytes.data() + start, expectedSize + 1, 0);
    } while (got < 0 && errno == EINTR);
    if (got >= 0 && static_cast<std::size_t>(got) == expectedSize) {
      KeepRead(bytes, start, expectedSize);
      return {};
    }
  }
  struct stat info {};
  return ReadOpenedFile(file.Get(), maxBytes, bytes, info);
}

FileResult LockFileForUpdate(const std::string& path, std::unique_ptr<LockedFile>& locked,
                             std::chrono::milliseconds wait) {
  locked.reset();
  if (!ValidName(path)) {
    return {FileStatus::kBadName, EINVAL};
  }
  std::string target = path;
  bool linksFollowed = false;
  // The file may be replaced by another writer between our open and our lock: then the lock is on a
  // file that no longer has the name, and we try again on the new one.
  // A file made by an earlier attempt is still ours to remove if no write fills it.
  bool created = false;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    Descriptor file(-1);
    if (const FileResult opened = OpenFollowingLinks(path, target, linksFollowed, file); !opened.Ok()) {
      return opened;
    }
    if (file.Get() < 0 && errno == ENOENT && MakeMissingFile(target, file)) {
      created = true;
    }
    if (file.Get() < 0 && errno == EEXIST) {
      continue;  // another writer made it just now
    }
    if (file.Get() < 0) {
      return Failure(errno);
    }
    struct stat held {};
    if (const FileResult taken = TakeWriterLock(file.Get(), wait, held); !taken.Ok()) {
      // Another writer that locked it meanwhile finds it gone and makes it again. Without the file's
      // identity (its fstat failed) it is asked once more: the name alone could be another's file.
      if (created && (held.st_ino != 0 || gCalls.fstat(file.Get(), &held) == 0)) {
        RemoveIfStillEmpty(target, held);
      }
      return taken;
    }
    struct stat named {};
    if (gCalls.stat(target.c_str(), &named) == 0 && SameFile(held, named)) {
      locked = std::make_unique<FlockedFile>(file.Release(), target, held, created);
      return {};
    }
  }
  return {FileStatus::kBusy, EAGAIN};
}

}  // namespace qlxw::platform
