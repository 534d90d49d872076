#pragma once
// File access the library needs beyond the standard library: native paths from UTF-8 names, failures
// sorted into the few kinds a caller reports differently, whole-file replacement that never leaves a
// torn file, and a lock that serialises read-modify-write across processes.
//
// Every operation answers a FileResult; data comes back through an out parameter. The system calls
// underneath go through one replaceable table (os/file_calls.h), so tests can make any of them fail.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace qlxw::platform {

enum class FileStatus {
  kOk,
  kBadName,       // empty or not a valid name on this system
  kPathNotFound,  // the file, or a folder on the way, does not exist
  kAccessDenied,  // no permission, or not a regular file (the system's number says which)
  kBusy,          // another writer held the lock (on Windows another program the file) past the wait
  kTooLarge,      // larger than the reader's limit
  kIoError,       // anything else the system reported
};

// What an operation came to, and the system's own error number behind a failure (errno or
// GetLastError(); for a failure the library finds by itself, the number the system gives for it).
struct FileResult {
  FileStatus status = FileStatus::kOk;
  int systemError = 0;

  bool Ok() const { return status == FileStatus::kOk; }
};

// How long a writer waits for another one to finish with the file before giving up.
inline constexpr std::chrono::milliseconds kLockWait{10'000};

// Whether the system could have a file by this name: no NUL on any system; on Windows also no control
// character and none of < > " | * ? (a leading \\?\ excepted). Says nothing about existence.
bool IsPossibleFileName(std::string_view path);

// Only regular files are read, appended to or rewritten: a pipe, a device or a socket is refused at
// once, never waited on.

// Opens the file for appending (creating it), writes the bytes, closes it.
FileResult AppendToFile(const std::string& path, std::string_view bytes);

// The whole file into `bytes` (whose memory is reused). A folder is kAccessDenied, a file larger than
// `maxBytes` kTooLarge. A rewrite in place is never seen half done: a writer that holds the file's
// lock is waited for (up to kLockWait, then the file is read as it is); on Windows, where the rewrite
// shares the file with no one, for about a second, then the read fails as for any file held so.
FileResult ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// The first `count` bytes of a regular file (all of a shorter one), opened and refused as ReadWholeFile
// opens and refuses it: a reader that can tell a file of the wrong kind from its start need not read a
// large one whole.
FileResult ReadFileStart(const std::string& path, std::size_t count, std::string& bytes);

// ReadWholeFile of a file that a query just now found to be a regular file of `expectedSize` bytes:
// where the system allows, a read that finds exactly that many bytes is trusted without asking the
// opened file what it is (one call fewer); anything else is read as ReadWholeFile reads it.
FileResult ReadWholeFileOfSize(const std::string& path, std::size_t expectedSize, std::size_t maxBytes,
                               std::string& bytes);

// A file held for a read-modify-write: other writers that lock it wait until this object ends.
class LockedFile {
 public:
  virtual ~LockedFile() = default;
  // The whole file, as ReadWholeFile.
  virtual FileResult ReadAll(std::size_t maxBytes, std::string& bytes) = 0;
  // Writes the bytes to a temporary file beside the file, flushes it to disk and renames it over the
  // file (the folder flushed too): readers see the old or the new content, never a mixture. On any
  // failure the old file stays as it was and the temporary file is gone. The file keeps its mode,
  // owner and group; a symbolic link keeps pointing at it. A file with other names (hard links), in a
  // folder that takes no new file, or (on Windows) held open by another program is rewritten in
  // place instead, as the Windows functions do: those alone can be torn by a machine stopping halfway.
  // Temporary files that killed writers left beside the file are removed.
  virtual FileResult Replace(std::string_view bytes) = 0;
};

// Locks `path` for a read-modify-write into `locked`, creating an empty file when there is none (as a
// write would; it goes again when the object ends without a successful Replace). The lock is the
// file's, whatever spelling of its name each writer uses. kBusy when another writer holds it for
// longer than `wait`; `locked` stays empty on any failure.
FileResult LockFileForUpdate(const std::string& path, std::unique_ptr<LockedFile>& locked,
                             std::chrono::milliseconds wait = kLockWait);

}  // namespace qlxw::platform
