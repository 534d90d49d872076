#pragma once
// A Windows single-byte code page as two tables, built once through iconv.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qlxw::platform {

class SingleByteCodePage {
 public:
  // Empty when iconv does not know the code page or it is not a single-byte one.
  static std::optional<SingleByteCodePage> Load(std::int32_t codePage);
  // Byte value equals code point; for a system whose iconv lacks the Windows code pages.
  static SingleByteCodePage Latin1();

  std::int32_t Number() const { return number_; }
  std::string ToAnsi(std::string_view utf8) const;
  std::string ToUtf8(std::string_view ansi) const;

 private:
  explicit SingleByteCodePage(std::int32_t number) : number_(number) {}

  std::int32_t number_;
  std::array<char32_t, 256> toUnicode_{};
  std::vector<std::pair<char32_t, unsigned char>> fromUnicode_;  // sorted by code point
};

}  // namespace qlxw::platform
