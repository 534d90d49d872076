#pragma once
// Everything the profile engine asks of the file system, in one place: the bytes of a file for a read,
// and a rewrite under the update lock for a write.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qlxw::profile {

// Files above this size read as missing and are never rewritten. A rewrite holds the file twice at once
// (three times for UTF-16), each copy in one block: a 64-bit process has room for 256 MiB files; a 32-bit
// host's 2 GiB address space, shared with the host and split by its DLLs, seldom has free blocks of
// that size, and 64 MiB ones as a rule.
inline constexpr std::size_t kMaxProfileBytes = std::size_t{sizeof(void*) >= 8 ? 256 : 64} << 20;

// The bytes of a profile file, held in this thread's read buffer while this object lives: reads reuse
// the buffer, as fresh memory for every read costs as much as the parsing.
class ProfileFileBytes {
 public:
  explicit ProfileFileBytes(const std::string& fileName);
  ProfileFileBytes(const ProfileFileBytes&) = delete;
  ProfileFileBytes& operator=(const ProfileFileBytes&) = delete;
  ProfileFileBytes(ProfileFileBytes&&) = delete;
  ProfileFileBytes& operator=(ProfileFileBytes&&) = delete;
  ~ProfileFileBytes();

  // Empty when the file is missing, unreadable, not a regular file or over kMaxProfileBytes.
  std::optional<std::string_view> Bytes() const;

 private:
  std::string& buffer_;
  bool read_ = false;
};

// The bytes of a profile file that a stamp just said has `expectedSize` bytes into `bytes`, whose memory
// is reused (for a copy kept beyond one read); false when ProfileFileBytes would be empty.
bool ReadProfileFile(const std::string& fileName, std::size_t expectedSize, std::string& bytes);

// Makes the new bytes of a file from its bytes; false when the file is to stay as it is.
using ProfileEdit = std::function<bool(std::string_view bytes, std::string& edited)>;

// Locks the file (creating an empty one when there is none), edits its bytes and, when they change,
// replaces the file as a whole. Writers in other processes are waited for. Returns whether the file
// now holds the edit: false when it cannot be locked, read (or is oversized: rewriting it could lose
// what cannot be seen) or replaced, the reason recorded for LastProfileWriteError.
bool UpdateProfileFile(const std::string& fileName, const ProfileEdit& edit);

}  // namespace qlxw::profile
