#pragma once
// The margin by which a file's times must precede a query for its stamp to be trusted, in ticks of
// the file times. Shared by the platforms' stamp queries.
#include <algorithm>
#include <cstdint>

namespace qlxw::platform::detail {

// `second` is the number of ticks in a second. Fine-grained times still come from the kernel's coarse
// clock (a tick of 1 to 16 ms), hence 50 ms; last-write times in whole seconds may be rounded by up to two
// seconds.
constexpr bool StampSettledAfter(std::int64_t modified, std::int64_t changed, std::int64_t queriedAt,
                                 std::int64_t second) {
  const bool wholeSeconds = modified % second == 0;
  const std::int64_t margin = wholeSeconds ? 3 * second : second / 20;
  return std::max(modified, changed) < queriedAt - margin;
}

}  // namespace qlxw::platform::detail
