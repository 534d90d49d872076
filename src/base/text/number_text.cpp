#include "text/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qlxw {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "&HFF", "&O17": the digits make a 32-bit pattern, as automation hex and octal literals do.
bool TryRadixForm(std::string_view text, std::int32_t& value) {
  const int radix = (text[1] == 'H' || text[1] == 'h') ? 16 : (text[1] == 'O' || text[1] == 'o') ? 8 : 0;
  const std::string_view digits = text.substr(2);
  std::uint32_t bits = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bits, radix);
  if (radix == 0 || digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    return false;
  }
  value = static_cast<std::int32_t>(bits);
  return true;
}

}  // namespace

std::string NumberToText(double value) {
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, "%.15G", value);
  return {buffer, static_cast<std::size_t>(length)};
}

bool TryTextToLong(std::string_view text, std::int32_t& value) {
  text = TrimBlanks(text);
  if (text.size() > 2 && text[0] == '&') {
    return TryRadixForm(text, value);
  }
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  }
  double number = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(number)) {
    return false;
  }
  const double rounded = std::nearbyint(number);  // half to even, the default rounding
  if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return false;
  }
  value = static_cast<std::int32_t>(rounded);
  return true;
}

}  // namespace qlxw
