#pragma once
// This thread's copies of the profile files it has read, so that reading a key of an unchanged file
// costs one query of the file's stamp (os/file_identity.h) instead of opening, reading and searching it.
// A copy is used only when the file's stamp is what it was when the copy was read, and when that stamp
// was settled then: a file modified within the timestamp granularity of the read is read again, as a
// write in the same tick could have left its stamp alone. A file that cannot be asked for its stamp
// (missing, a folder, no permission to its folder) is read as if there were no cache.
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "profile/profile_file_access.h"

namespace qlxw::profile {

struct CachedProfile;

// The bytes of a profile file for one read: this thread's copy when the file has not changed since it
// was read, else the file read now (and kept when it can be). The cache must not be used otherwise
// while this object lives.
class ProfileContent {
 public:
  explicit ProfileContent(const std::string& fileName);
  ProfileContent(const ProfileContent&) = delete;
  ProfileContent& operator=(const ProfileContent&) = delete;
  ProfileContent(ProfileContent&&) = delete;
  ProfileContent& operator=(ProfileContent&&) = delete;
  ~ProfileContent();

  // Empty when the file is missing, unreadable, not a regular file or over kMaxProfileBytes.
  std::optional<std::string_view> Bytes() const;

  // The value of a key in 8-bit text (names in the code page, trimmed of spaces here), unquoted: through
  // the copy's index of sections and keys when the copy was kept from an earlier read, else by searching
  // the bytes (a file read once costs no index). The same answer either way.
  std::optional<std::string_view> AnsiValue(std::string_view section, std::string_view key) const;

 private:
  // This thread's copy of the file: kept from an earlier read (then worth an index of its keys) or
  // read now.
  struct Copy {
    CachedProfile* file = nullptr;
    bool fromEarlierRead = false;
  };
  // Where the bytes are: nowhere (the file is missing or unreadable), this thread's copy, bytes read
  // now but not kept (too large to keep, or on a network), or the file read on its own as without a
  // cache.
  std::variant<std::monostate, Copy, std::string, ProfileFileBytes> bytes_;
};

// Drops this thread's copy of the file; the library's own writes call it.
void ForgetCachedProfile(const std::string& fileName);

}  // namespace qlxw::profile
