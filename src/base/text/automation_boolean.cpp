#include "text/automation_boolean.h"

#include <charconv>
#include <cstdint>
#include <system_error>

#include "text/case_fold.h"

namespace qlxw {
namespace {

// Reads a number's pieces from the front of a text, one symbol at a time.
class NumberReader {
 public:
  NumberReader(std::string_view text, const NumberSymbols& symbols) : text_(text), symbols_(symbols) {}

  bool AtEnd() const { return text_.empty(); }

  bool Take(std::string_view symbol) {
    if (symbol.empty() || !text_.starts_with(symbol)) {
      return false;
    }
    text_.remove_prefix(symbol.size());
    return true;
  }

  bool TakeNoCase(std::string_view symbol) {
    if (text_.size() < symbol.size() || !EqualsNoCase(text_.substr(0, symbol.size()), symbol)) {
      return false;
    }
    text_.remove_prefix(symbol.size());
    return true;
  }

  // Blanks as the conversion skips them: ASCII white space and the no-break space.
  void SkipBlanks() {
    while (Take(" ") || Take("\t") || Take("\n") || Take("\v") || Take("\f") || Take("\r") ||
           Take("\xC2\xA0")) {
    }
  }

  // Signs, currency and an opening parenthesis around the number, each at most once; blanks between.
  bool TakeDecoration(bool& negative, bool& signSeen, bool& currencySeen, int& parentheses, bool leading) {
    SkipBlanks();
    if (!signSeen && Take("+")) {
      signSeen = true;
      return true;
    }
    if (!negative && Take("-")) {
      negative = true;
      signSeen = true;
      return true;
    }
    if (!currencySeen && Take(symbols_.currency)) {
      currencySeen = true;
      return true;
    }
    if (leading && parentheses == 0 && Take("(")) {
      parentheses = 1;
      return true;
    }
    if (!leading && parentheses == 1 && Take(")")) {
      parentheses = 2;
      return true;
    }
    return false;
  }

  // &H or &O digits; none when there are none or the value does not fit 31 bits.
  std::optional<std::uint32_t> TakeRadixNumber(unsigned radix) {
    std::uint64_t value = 0;
    std::size_t digits = 0;
    while (!text_.empty()) {
      const int digit = DigitValue(text_.front());
      if (digit < 0 || static_cast<unsigned>(digit) >= radix) {
        break;
      }
      value = value * radix + static_cast<unsigned>(digit);
      if (value > 0x7FFFFFFFU) {
        return std::nullopt;
      }
      text_.remove_prefix(1);
      ++digits;
    }
    if (digits == 0) {
      return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
  }

  // Decimal digits with thousands separators, a decimal part and an exponent, as plain ASCII for
  // from_chars; empty when there is no digit.
  std::string TakeDecimalNumber() {
    std::string plain;
    bool digitSeen = false;
    for (;;) {
      if (!text_.empty() && IsDigit(text_.front())) {
        plain += text_.front();
        text_.remove_prefix(1);
        digitSeen = true;
      } else if (!(digitSeen && Take(symbols_.thousands))) {
        break;
      }
    }
    if (Take(symbols_.decimal)) {
      plain += '.';
      while (!text_.empty() && IsDigit(text_.front())) {
        plain += text_.front();
        text_.remove_prefix(1);
        digitSeen = true;
      }
    }
    if (!digitSeen) {
      return {};
    }
    if (TakeNoCase("e")) {
      plain += 'e';
      if (Take("-")) {
        plain += '-';
      } else {
        Take("+");
      }
      bool exponentDigit = false;
      while (!text_.empty() && IsDigit(text_.front())) {
        plain += text_.front();
        text_.remove_prefix(1);
        exponentDigit = true;
      }
      if (!exponentDigit) {
        return {};
      }
    }
    return plain;
  }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static int DigitValue(char c) {
    if (IsDigit(c)) {
      return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
      return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
      return c - 'A' + 10;
    }
    return -1;
  }

  std::string_view text_;
  const NumberSymbols& symbols_;
};

// Whether a plain decimal number is zero; none when it is too large for a double. Too small a
// number is zero, as the conversion rounds it.
std::optional<bool> IsZero(const std::string& plain) {
  if (plain.find_first_of("123456789") >= plain.find('e')) {
    return true;
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error == std::errc::result_out_of_range) {
    const std::size_t exponent = plain.find('e');
    if (exponent != std::string::npos && plain[exponent + 1] == '-') {
      return true;
    }
    return std::nullopt;
  }
  if (error != std::errc() || end != plain.data() + plain.size()) {
    return std::nullopt;
  }
  return value == 0.0;
}

}  // namespace

std::optional<bool> AutomationTextToBoolean(std::string_view text, const NumberSymbols& symbols) {
  if (EqualsNoCase(text, "true") || text == "#TRUE#") {
    return true;
  }
  if (EqualsNoCase(text, "false") || text == "#FALSE#") {
    return false;
  }
  NumberReader reader(text, symbols);
  bool negative = false;
  bool signSeen = false;
  bool currencySeen = false;
  int parentheses = 0;
  while (reader.TakeDecoration(negative, signSeen, currencySeen, parentheses, true)) {
  }
  std::optional<bool> zero;
  if (reader.TakeNoCase("&h")) {
    const auto value = reader.TakeRadixNumber(16);
    zero = value ? std::optional<bool>(*value == 0) : std::nullopt;
  } else if (reader.TakeNoCase("&o")) {
    const auto value = reader.TakeRadixNumber(8);
    zero = value ? std::optional<bool>(*value == 0) : std::nullopt;
  } else {
    const std::string plain = reader.TakeDecimalNumber();
    zero = plain.empty() ? std::nullopt : IsZero(plain);
  }
  if (!zero) {
    return std::nullopt;
  }
  while (reader.TakeDecoration(negative, signSeen, currencySeen, parentheses, false)) {
  }
  reader.SkipBlanks();
  if (!reader.AtEnd() || parentheses == 1) {
    return std::nullopt;
  }
  return !*zero;
}

}  // namespace qlxw
