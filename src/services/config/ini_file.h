#pragma once
// The INI file of this thread: its name, set once, and the reads and writes every manager does on it.
// Texts here are UTF-8, as in the profile layer below.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qlxw {

// The host's main version on this thread; 0 until it is set.
void SetMainVer(std::int32_t mainVersion);
bool MainVersionIsSet();
// Fails with 0x80040003 "Main version not initialized!" while it is 0.
std::int32_t GetMainVer();

// "" until the name is set.
std::string GetINIFileName();

// Stores the name exactly as given. A second call fails with 0x80040002 "ini filename
// re-initialization attempt!"; an empty or all-blank name with 0x80040001 "Invalid inifile name!".
void SetINIFileNameOnce(const std::string& name);

// What a manager's INIFileName does: the first name is stored; the same name again (in any letter
// case) is accepted and changes nothing; another name fails with 0x80040003 and the localized text 74,
// `sourceClass` being the manager.
void ApplyINIFileName(const std::string& name, std::string_view sourceClass);

// What a read found for its key whole, none when the key was absent: kept by a manager that may write
// the key's default back, which it does only while the file still holds this.
using INIValueSeen = std::optional<std::string>;

// The fixed-buffer read: at most 254 characters of the value (or of the default when the key is
// absent), taken up to the first NUL, then the comment and tab cut.
std::string LoadINIValueFixedBuffer(std::string_view section, std::string_view key,
                                    std::string_view defaultText, INIValueSeen* seen = nullptr);

// The growing-buffer read: the whole value up to 1023 characters, "" when absent; 1024 or more fail
// with 0x80040002 "LoadINIValueByKey2 data size error  |Section.Key|=n" from `sourceClass`.
std::string LoadINIValueByKey2(std::string_view section, std::string_view key, std::string_view sourceClass,
                               INIValueSeen* seen = nullptr);

// The longest values, in characters of the file's 8-bit text, that the fixed-buffer and the
// growing-buffer read take back whole.
inline constexpr std::size_t kFixedBufferLongestValue = 254;
inline constexpr std::size_t kGrowingBufferLongestValue = 1023;

// How many characters of the file's 8-bit text a value becomes.
std::size_t INIValueLength(std::string_view value);

// The profile write on this thread's INI file: no value deletes the key, no key the section.
// A failed write is silent to the host; LastProfileWriteError tells why it failed.
void WriteINIProfileValue(std::string_view section, std::optional<std::string_view> key,
                          std::optional<std::string_view> value);

// A default written back: only while the key is absent or still holds `seen` (as the read gave it), so that a
// value another writer put there in the meantime stays. Silent, as every write.
void WriteINIDefaultUnlessChanged(std::string_view section, std::string_view key, std::string_view value,
                                  const std::optional<std::string>& seen);

}  // namespace qlxw
