#pragma once
// The user's own part of the system registry, where Windows keeps per-user settings: text values under
// HKEY_CURRENT_USER\Software\QlxWCommon\<key>. Other systems have no registry: there reads find
// nothing, writes are not done, and callers keep their settings in a file instead.
#include <optional>
#include <string>
#include <string_view>

namespace qlxw::platform {

bool UserRegistryAvailable() noexcept;

// The value, or none when it (or its key) is missing or not a text.
std::optional<std::string> ReadUserRegistryText(std::string_view key, std::string_view name);

// Creates the key as needed; false when the value could not be written.
bool WriteUserRegistryText(std::string_view key, std::string_view name, std::string_view value);

}  // namespace qlxw::platform
