#include "text/number_text.h"

#include <cstdio>

namespace qlxw {

std::string NumberToText(double value) {
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, "%.15G", value);
  return {buffer, static_cast<std::size_t>(length)};
}

}  // namespace qlxw
