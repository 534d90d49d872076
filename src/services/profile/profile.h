#pragma once
// Profile (INI) files: the Read and Write the configuration store is built on, behaving as the Windows
// private-profile "A" functions do. One implementation for every platform, so that a file reads the
// same everywhere. Texts here are UTF-8; they pass through the 8-bit code page as they would on
// Windows (a character it lacks becomes "?"), and capacities and counts are counted in its characters.
// A file is 8-bit text, or UTF-16 when it starts with the UTF-16 byte-order mark.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "profile/profile_file_access.h"

namespace qlxw {

// What the bytes of an 8-bit file are: text of the system's 8-bit code page, as in the INI files hosts
// share with Windows programs, or UTF-8, for the library's own files that must keep any path. A file
// with the UTF-16 mark is UTF-16 either way, its names and values passing through the code page.
enum class ProfileCharset {
  kCodePage,
  kUtf8,
};

// The value of `key` in `section` (names compared without regard to letter case): trimmed, one pair of
// enclosing quotes removed. When the file, the section or the key is missing, `defaultText` without
// its trailing spaces (no default counts as ""). The result is cut to `capacity` - 1 characters and
// their number returned. A capacity of 0 returns 0 and leaves `text` alone. Reading never fails: an
// unreadable, oversized or malformed file reads as a missing one.
std::size_t ProfileRead(std::string_view section, std::string_view key,
                        std::optional<std::string_view> defaultText, std::size_t capacity,
                        const std::string& fileName, std::string& text,
                        ProfileCharset charset = ProfileCharset::kCodePage);

// Sets the value of `key` in `section`, creating the file and the section as needed; no value deletes
// the key's line, no key deletes the section. Every other line is kept byte for byte, and the file is
// replaced as a whole, never left half written; writers in other processes are waited for. A name or
// value holding CR, LF or NUL is refused, and so is a name a read could not find again: a section
// holding "]", a key holding "=" or starting with ";" or "[". Returns whether the file now holds what
// was asked.
bool ProfileWrite(std::string_view section, std::optional<std::string_view> key,
                  std::optional<std::string_view> value, const std::string& fileName,
                  ProfileCharset charset = ProfileCharset::kCodePage);

// ProfileRead that also tells, when `seen` is given, what the file held for `key` whole (none when the
// key was absent), from the same reading of the file: what a later ProfileWriteUnlessChanged compares
// with.
std::size_t ProfileRead(std::string_view section, std::string_view key,
                        std::optional<std::string_view> defaultText, std::size_t capacity,
                        const std::string& fileName, std::string& text, std::optional<std::string>* seen,
                        ProfileCharset charset = ProfileCharset::kCodePage);

// ProfileWrite of a value, done only while the key is absent or still holds `seen` (as ProfileRead
// gives it; none: only while it is absent), checked under the lock. True when the file holds the
// value or was left as another writer made it.
bool ProfileWriteUnlessChanged(std::string_view section, std::string_view key, std::string_view value,
                               const std::optional<std::string>& seen, const std::string& fileName,
                               ProfileCharset charset = ProfileCharset::kCodePage);

using profile::kMaxProfileBytes;

}  // namespace qlxw
