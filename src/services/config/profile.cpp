#include "config/profile.h"

#include "config/profile_editing.h"
#include "config/profile_encoding.h"
#include "config/profile_names.h"
#include "config/profile_reading.h"

namespace qlxw {
namespace {

// The caller's optional text in the 8-bit code page.
class OptionalAnsiText {
 public:
  explicit OptionalAnsiText(std::optional<std::string_view> utf8) {
    if (utf8) {
      text_.emplace(*utf8);
    }
  }

  std::optional<std::string_view> View() const {
    return text_ ? std::optional<std::string_view>(text_->View()) : std::nullopt;
  }

 private:
  std::optional<profile::AnsiText> text_;
};

std::optional<std::u16string> OptionalUtf16(std::optional<std::string_view> ansi) {
  return ansi ? std::optional<std::u16string>(profile::Utf16FromAnsi(*ansi)) : std::nullopt;
}

std::optional<std::u16string_view> OptionalView(const std::optional<std::u16string>& text) {
  return text ? std::optional<std::u16string_view>(*text) : std::nullopt;
}

bool HoldsLineBreakOrNul(std::optional<std::string_view> text) {
  return text && text->find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The value of the key in the file's bytes: `text` becomes its first `maxCount` characters, in UTF-8,
// and `count` how many there are. False when the section or the key is missing.
bool FindValue(std::string_view bytes, std::string_view ansiSection, std::string_view ansiKey,
               std::size_t maxCount, std::string& text, std::size_t& count) {
  if (const auto utf16 = profile::Utf16File::From(bytes)) {
    const std::u16string section = profile::Utf16FromAnsi(ansiSection);
    const std::u16string key = profile::Utf16FromAnsi(ansiKey);
    const auto value = profile::FindValue<char16_t>(utf16->Units(), section, key, profile::Utf16NameEquals{});
    if (value) {
      count = profile::Utf8FromUtf16(*value, maxCount, text);
    }
    return value.has_value();
  }
  const auto value = profile::FindValueByAnchor(
      bytes, ansiSection, ansiKey, profile::AnsiAnchorOf(ansiSection), profile::AnsiNameEquals{});
  if (value) {
    count = profile::Utf8FromAnsi(*value, maxCount, text);
  }
  return value.has_value();
}

}  // namespace

std::size_t ProfileRead(std::string_view section, std::string_view key,
                        std::optional<std::string_view> defaultText, std::size_t capacity,
                        const std::string& fileName, std::string& text) {
  if (capacity == 0) {
    return 0;
  }
  const std::size_t maxCount = capacity - 1;
  std::size_t count = 0;
  bool found = false;
  {
    const profile::ProfileFileBytes file(fileName);
    if (const auto bytes = file.Bytes()) {
      const profile::AnsiText ansiSection(section);
      const profile::AnsiText ansiKey(key);
      found = FindValue(*bytes, ansiSection.View(), ansiKey.View(), maxCount, text, count);
    }
  }
  if (!found) {
    const profile::AnsiText ansiDefault(defaultText.value_or(""));
    const std::string_view fallback = ansiDefault.View();
    count = profile::Utf8FromAnsi(fallback.substr(0, fallback.find_last_not_of(' ') + 1), maxCount, text);
  }
  return count;
}

bool ProfileWrite(std::string_view section, std::optional<std::string_view> key,
                  std::optional<std::string_view> value, const std::string& fileName) {
  const profile::AnsiText ansiSection(section);
  const OptionalAnsiText ansiKey(key);
  const OptionalAnsiText ansiValue(value);
  if (HoldsLineBreakOrNul(ansiSection.View()) || HoldsLineBreakOrNul(ansiKey.View()) ||
      HoldsLineBreakOrNul(ansiValue.View())) {
    return false;
  }
  return profile::UpdateProfileFile(fileName, [&](std::string_view bytes, std::string& edited) {
    if (const auto utf16 = profile::Utf16File::From(bytes)) {
      std::u16string units;
      const bool changed = profile::Edit<char16_t>(utf16->Units(), profile::Utf16FromAnsi(ansiSection.View()),
                                                   OptionalView(OptionalUtf16(ansiKey.View())),
                                                   OptionalView(OptionalUtf16(ansiValue.View())),
                                                   profile::Utf16NameEquals{}, units);
      if (changed) {
        utf16->BytesOf(units, edited);
      }
      return changed;
    }
    return profile::Edit<char>(bytes, ansiSection.View(), ansiKey.View(), ansiValue.View(),
                               profile::AnsiNameEquals{}, edited);
  });
}

}  // namespace qlxw
