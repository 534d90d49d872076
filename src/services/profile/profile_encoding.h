#pragma once
// The profile engine's one crossing between the caller's UTF-8 and a file's own encoding. The engine
// behaves as the Windows "A" functions do: names and values pass through the 8-bit code page (a
// character it lacks becomes "?") and capacities count its characters, whatever the file holds.
// Names are brought into the file's encoding once, and the value found is brought back once.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qlxw::profile {

// The caller's UTF-8 text in the 8-bit code page. ASCII text, which the code page holds as it is, is
// used in place.
class AnsiText {
 public:
  explicit AnsiText(std::string_view utf8);
  AnsiText(const AnsiText&) = delete;
  AnsiText& operator=(const AnsiText&) = delete;
  AnsiText(AnsiText&&) = delete;
  AnsiText& operator=(AnsiText&&) = delete;
  ~AnsiText() = default;

  std::string_view View() const { return view_; }

 private:
  std::string converted_;
  std::string_view view_;
};

// Text of the 8-bit code page as the UTF-16 a file holds for it.
std::u16string Utf16FromAnsi(std::string_view ansi);

// Text of the 8-bit code page for the caller: `utf8` becomes its first `maxCount` characters, in
// UTF-8. Returns how many characters there are.
std::size_t Utf8FromAnsi(std::string_view ansi, std::size_t maxCount, std::string& utf8);

// A value of a UTF-16 file for the caller, as it reaches the caller through the code page: `utf8`
// becomes its first `maxCount` characters of the code page, in UTF-8. Returns how many there are.
std::size_t Utf8FromUtf16(std::u16string_view units, std::size_t maxCount, std::string& utf8);

// A file that starts with the UTF-16 (little-endian) byte-order mark holds UTF-16 text, as on Windows.
class Utf16File {
 public:
  // Empty when the bytes do not start with the mark.
  static std::optional<Utf16File> From(std::string_view bytes);

  std::u16string_view Units() const { return units_; }
  // The file's bytes for the given text: the mark, the units, and an odd last byte kept as it was.
  void BytesOf(std::u16string_view text, std::string& bytes) const;

 private:
  std::u16string units_;         // after the mark
  std::optional<char> oddByte_;  // a last byte that makes no whole unit
};

}  // namespace qlxw::profile
