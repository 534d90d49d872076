#pragma once
// What tells one version of a file from another without opening it: which file the name leads to, its
// size and its times, from one cheap query of the file system. A reader that keeps a file's content
// asks it to learn whether the file may have changed since.
//
// POSIX tells the device and inode and the status change time, which every write, rename, change of
// permissions and setting of the times moves. Windows answers the same question without opening the
// file only with the size, the attributes and the creation and last-write times: it sees neither
// which file a name leads to nor a last-write time set back after a write.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "os/files.h"

namespace qlxw::platform {

// Times are in the system's own file-time ticks (nanoseconds on POSIX, 100 ns on Windows).
struct FileStamp {
  std::uint64_t volume = 0;     // device; 0 where the query does not tell
  std::uint64_t fileIndex = 0;  // inode; 0 where the query does not tell
  std::uint64_t size = 0;
  std::uint32_t mode = 0;     // permission bits (POSIX), attributes (Windows)
  std::int64_t modified = 0;  // last write
  std::int64_t changed = 0;   // status change (POSIX), creation (Windows)

  bool operator==(const FileStamp&) const = default;
};

// The stamp of a regular file; empty when the name is missing, not a regular file or cannot be asked.
std::optional<FileStamp> QueryFileStamp(const std::string& path);

// The whole file, as ReadWholeFile reads it, and its stamp, from one opening of the file where the
// system can ask an opened file (POSIX), so that the stamp is that of the bytes read and the name is
// looked up once; elsewhere the stamp is asked by name just before. `stamp` is empty when the read
// failed or the stamp could not be had.
FileResult ReadFileAndStamp(const std::string& path, std::size_t maxBytes, std::string& bytes,
                            std::optional<FileStamp>& stamp);

// The time now, in the ticks of the stamps' times.
std::int64_t FileClockNow();

// Whether every change to the file from `queriedAt` on is sure to give it another stamp. A file whose
// times are too close to `queriedAt` (or after it) is not: a write within the same timestamp tick may
// leave them as they are. The margin follows the file system's granularity, guessed from the times:
// whole seconds (FAT keeps two) or finer.
bool StampSettled(const FileStamp& stamp, std::int64_t queriedAt);

// Whether stamps of files at `path` follow every change at once. Not on network file systems, whose
// clients may answer from a cache of attributes for seconds after another machine's write.
bool StampsFollowChanges(const std::string& path);

}  // namespace qlxw::platform
