#pragma once
#include <string_view>

namespace qlxw {

// The library's version, "major.minor.patch".
std::string_view LibraryVersion() noexcept;

}  // namespace qlxw
