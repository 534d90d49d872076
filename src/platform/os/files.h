#pragma once
// File access the library needs beyond the standard library: native paths from UTF-8 names, failures
// sorted into the few kinds a caller reports differently, whole-file replacement that never leaves a
// torn file, and a lock that serialises read-modify-write across processes.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace qlxw::platform {

enum class FileStatus {
  kOk,
  kBadName,       // empty or not a valid name on this system
  kPathNotFound,  // a folder on the way does not exist
  kAccessDenied,  // no permission, or the name is a folder
  kIoError,       // anything else the system reported
};

// Opens the file for appending (creating it), writes the bytes, closes it.
FileStatus AppendToFile(const std::string& path, std::string_view bytes);

// The whole file into `bytes` (whose memory is reused); false when it is missing, unreadable, not a
// regular file or larger than `maxBytes`.
bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// A file held for a read-modify-write: other processes that lock it wait until this object ends.
class LockedFile {
 public:
  virtual ~LockedFile() = default;
  // The whole file, as ReadWholeFile.
  virtual bool ReadAll(std::size_t maxBytes, std::string& bytes) = 0;
  // Writes the bytes to a temporary file beside the file, flushes it to disk and renames it over the
  // file: readers see the old or the new content, never a mixture. The file keeps its permissions.
  virtual FileStatus Replace(std::string_view bytes) = 0;
};

// Locks `path` for a read-modify-write, creating an empty file when there is none (as a write would).
// Empty when the file cannot be created or locked.
std::unique_ptr<LockedFile> LockFileForUpdate(const std::string& path);

}  // namespace qlxw::platform
