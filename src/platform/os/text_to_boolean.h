#pragma once
// The system's own conversion of a text to a Boolean, the one hosts know from their scripts (CBool),
// with the user's number format.
#include <optional>
#include <string_view>

namespace qlxw::platform {

// True or False, or none when the system does not read the text as a Boolean.
std::optional<bool> SystemTextToBoolean(std::string_view text);

}  // namespace qlxw::platform
