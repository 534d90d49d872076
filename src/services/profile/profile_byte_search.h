#pragma once
// The exact byte search under the search for a section header by a piece of its name.
#include <cstddef>

namespace qlxw::profile {

// The first position at or after `from` where `piece` (`length` bytes, at least 1) starts, or `size`.
std::size_t FindBytes(const char* data, std::size_t size, std::size_t from, const char* piece,
                      std::size_t length) noexcept;

}  // namespace qlxw::profile
