#include "profile/profile.h"

#include "profile/profile_cache.h"
#include "profile/profile_editing.h"
#include "profile/profile_encoding.h"
#include "profile/profile_names.h"
#include "profile/profile_reading.h"
#include "profile/profile_write_error.h"

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

// Names a read could not find again under the same name: a section's name ends at its first "]", a
// key's at its first "=", and a line starting with ";" or "[" is a comment or a header. Blanks are
// space, tab and vertical tab, as in the file's line rules.
bool CannotBeReadBack(std::string_view section, std::optional<std::string_view> key) {
  if (section.find(']') != std::string_view::npos) {
    return true;
  }
  if (!key) {
    return false;
  }
  const std::size_t first = key->find_first_not_of(" \t\v");
  return key->find('=') != std::string_view::npos ||
         (first != std::string_view::npos && ((*key)[first] == ';' || (*key)[first] == '['));
}

// The first `maxCount` characters of UTF-8 text; returns how many there are.
std::size_t Utf8Prefix(std::string_view utf8, std::size_t maxCount, std::string& text) {
  std::size_t count = 0;
  std::size_t end = 0;
  for (; end < utf8.size(); ++end) {
    if ((static_cast<unsigned char>(utf8[end]) & 0xC0) != 0x80 && count++ == maxCount) {
      --count;
      break;
    }
  }
  text.assign(utf8.substr(0, end));
  return count;
}

// A value ends at its first NUL: the Windows functions' values are C strings, so a NUL in the file ends
// what every caller sees.
template <typename Char>
std::basic_string_view<Char> UpToNul(std::basic_string_view<Char> value) {
  return value.substr(0, value.find(Char{}));
}

// The value of the key in the file: `text` becomes its first `maxCount` characters, in UTF-8, and
// `count` how many there are. False when the section or the key is missing. An 8-bit file's value is
// found by `ansiValue` (section, key in the code page): a kept copy's index or a plain search.
template <typename AnsiValue>
bool FindValueWith(std::string_view bytes, std::string_view section, std::string_view key,
                   ProfileCharset charset, std::size_t maxCount, std::string& text, std::size_t& count,
                   AnsiValue ansiValue) {
  if (const auto utf16 = profile::Utf16File::From(bytes)) {
    const std::u16string wantedSection = profile::Utf16FromAnsi(profile::AnsiText(section).View());
    const std::u16string wantedKey = profile::Utf16FromAnsi(profile::AnsiText(key).View());
    const auto value =
        profile::FindValue<char16_t>(utf16->Units(), wantedSection, wantedKey, profile::Utf16NameEquals{});
    if (value) {
      count = profile::Utf8FromUtf16(UpToNul(*value), maxCount, text);
    }
    return value.has_value();
  }
  if (charset == ProfileCharset::kUtf8) {
    const auto value = profile::FindValue<char>(bytes, section, key, profile::Utf8NameEquals{});
    if (value) {
      count = Utf8Prefix(UpToNul(*value), maxCount, text);
    }
    return value.has_value();
  }
  const profile::AnsiText wantedSection(section);
  const profile::AnsiText wantedKey(key);
  const auto value = ansiValue(wantedSection.View(), wantedKey.View());
  if (value) {
    count = profile::Utf8FromAnsi(UpToNul(*value), maxCount, text);
  }
  return value.has_value();
}

// Through the kept copy of the file when there is one.
bool FindValue(const profile::ProfileContent& content, std::string_view bytes, std::string_view section,
               std::string_view key, ProfileCharset charset, std::size_t maxCount, std::string& text,
               std::size_t& count) {
  return FindValueWith(bytes, section, key, charset, maxCount, text, count,
                       [&](std::string_view ansiSection, std::string_view ansiKey) {
                         return content.AnsiValue(ansiSection, ansiKey);
                       });
}

// In bytes just read, as a writer holding the lock sees them.
bool FindValue(std::string_view bytes, std::string_view section, std::string_view key, ProfileCharset charset,
               std::size_t maxCount, std::string& text, std::size_t& count) {
  return FindValueWith(bytes, section, key, charset, maxCount, text, count,
                       [&](std::string_view ansiSection, std::string_view ansiKey) {
                         return profile::FindValue<char>(bytes, ansiSection, ansiKey,
                                                         profile::AnsiNameEquals{});
                       });
}

// Checked on the caller's text: the code page turns no other character into these.
bool Refused(std::string_view section, std::optional<std::string_view> key,
             std::optional<std::string_view> value) {
  return HoldsLineBreakOrNul(section) || HoldsLineBreakOrNul(key) || HoldsLineBreakOrNul(value) ||
         CannotBeReadBack(section, key);
}

// The file's bytes after the write, in the file's own encoding; false when they stay as they are.
bool EditBytes(std::string_view bytes, std::string_view section, std::optional<std::string_view> key,
               std::optional<std::string_view> value, ProfileCharset charset, std::string& edited) {
  if (const auto utf16 = profile::Utf16File::From(bytes)) {
    const profile::AnsiText ansiSection(section);
    const OptionalAnsiText ansiKey(key);
    const OptionalAnsiText ansiValue(value);
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
  if (charset == ProfileCharset::kUtf8) {
    return profile::Edit<char>(bytes, section, key, value, profile::Utf8NameEquals{}, edited);
  }
  const profile::AnsiText ansiSection(section);
  const OptionalAnsiText ansiKey(key);
  const OptionalAnsiText ansiValue(value);
  return profile::Edit<char>(bytes, ansiSection.View(), ansiKey.View(), ansiValue.View(),
                             profile::AnsiNameEquals{}, edited);
}

}  // namespace

std::size_t ProfileRead(std::string_view section, std::string_view key,
                        std::optional<std::string_view> defaultText, std::size_t capacity,
                        const std::string& fileName, std::string& text, ProfileCharset charset) {
  return ProfileRead(section, key, defaultText, capacity, fileName, text, nullptr, charset);
}

std::size_t ProfileRead(std::string_view section, std::string_view key,
                        std::optional<std::string_view> defaultText, std::size_t capacity,
                        const std::string& fileName, std::string& text, std::optional<std::string>* seen,
                        ProfileCharset charset) {
  if (seen != nullptr) {
    seen->reset();
  }
  if (capacity == 0) {
    return 0;
  }
  const std::size_t maxCount = capacity - 1;
  std::size_t count = 0;
  bool found = false;
  {
    const profile::ProfileContent file(fileName);
    if (const auto bytes = file.Bytes()) {
      found = FindValue(file, *bytes, section, key, charset, maxCount, text, count);
      if (found && seen != nullptr && count < maxCount) {
        *seen = text;  // not cut: the whole value
      } else if (found && seen != nullptr) {
        std::string whole;
        std::size_t wholeCount = 0;
        FindValue(file, *bytes, section, key, charset, kMaxProfileBytes, whole, wholeCount);
        *seen = std::move(whole);
      }
    }
  }
  if (!found) {
    const std::string_view fallback = defaultText.value_or("");
    const std::string_view trimmed = fallback.substr(0, fallback.find_last_not_of(' ') + 1);
    if (charset == ProfileCharset::kUtf8) {
      count = Utf8Prefix(trimmed, maxCount, text);
    } else {
      const profile::AnsiText ansiDefault(trimmed);
      count = profile::Utf8FromAnsi(ansiDefault.View(), maxCount, text);
    }
  }
  return count;
}

bool ProfileWrite(std::string_view section, std::optional<std::string_view> key,
                  std::optional<std::string_view> value, const std::string& fileName,
                  ProfileCharset charset) {
  if (Refused(section, key, value)) {
    NoteProfileWriteRefused(WriteRefusal::kText);
    return false;
  }
  profile::ForgetCachedProfile(fileName);
  return profile::UpdateProfileFile(fileName, [&](std::string_view bytes, std::string& edited) {
    return EditBytes(bytes, section, key, value, charset, edited);
  });
}

bool ProfileWriteUnlessChanged(std::string_view section, std::string_view key, std::string_view value,
                               const std::optional<std::string>& seen, const std::string& fileName,
                               ProfileCharset charset) {
  if (Refused(section, key, value)) {
    NoteProfileWriteRefused(WriteRefusal::kText);
    return false;
  }
  profile::ForgetCachedProfile(fileName);
  return profile::UpdateProfileFile(fileName, [&](std::string_view bytes, std::string& edited) {
    std::string now;
    std::size_t count = 0;
    if (FindValue(bytes, section, key, charset, kMaxProfileBytes, now, count) && (!seen || now != *seen)) {
      return false;  // another writer's value stays
    }
    return EditBytes(bytes, section, key, value, charset, edited);
  });
}

}  // namespace qlxw
