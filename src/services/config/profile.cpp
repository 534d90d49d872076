#include "config/profile.h"

#include <array>

#include "config/profile_text.h"
#include "os/codepage.h"
#include "os/files.h"
#include "os/thread_state.h"
#include "text/case_fold.h"
#include "text/utf8.h"

namespace qlxw::platform {
namespace {

using FoldTable = std::array<unsigned char, 256>;

// Small letter for capital, byte by byte, in the 8-bit code page; built once, as the code page is fixed.
const FoldTable& AnsiFoldTable() {
  static const FoldTable table = [] {
    FoldTable folded{};
    for (unsigned value = 0; value < 256; ++value) {
      folded[value] = static_cast<unsigned char>(value);
      const std::string utf8 = AnsiToUtf8(std::string(1, static_cast<char>(value)));
      std::size_t pos = 0;
      const char32_t cp = DecodeUtf8(utf8, pos);
      if (cp == kInvalidCodePoint || FoldCase(cp) == cp) {
        continue;
      }
      std::string small;
      AppendUtf8(small, FoldCase(cp));
      const std::string back = Utf8ToAnsi(small);
      if (back.size() == 1 && AnsiToUtf8(back) == small) {
        folded[value] = static_cast<unsigned char>(back[0]);
      }
    }
    return folded;
  }();
  return table;
}

// Bytes that no other byte matches in any letter case (digits, most punctuation), and no blank.
const std::array<bool, 256>& AnsiAnchorBytes() {
  static const std::array<bool, 256> table = [] {
    const FoldTable& fold = AnsiFoldTable();
    std::array<int, 256> classSize{};
    for (unsigned value = 0; value < 256; ++value) {
      ++classSize[fold[value]];
    }
    std::array<bool, 256> anchors{};
    for (unsigned value = 0; value < 256; ++value) {
      const bool blank = value == ' ' || value == '\t' || value == '\v';
      anchors[value] = !blank && fold[value] == value && classSize[value] == 1;
    }
    return anchors;
  }();
  return table;
}

// The longest run of anchor bytes in the name trimmed of spaces; none shorter than two bytes, which
// would be found too often to help.
profile::NameAnchor AnchorOf(std::string_view section) {
  const auto& anchors = AnsiAnchorBytes();
  const profile::NameAnchor longest =
      profile::LongestRun(section, [&](char c) { return anchors[static_cast<unsigned char>(c)]; });
  return longest.length >= 2 ? longest : profile::NameAnchor{};
}

struct AnsiNameEquals {
  const FoldTable& fold = AnsiFoldTable();
  bool operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) {
      return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (fold[static_cast<unsigned char>(a[i])] != fold[static_cast<unsigned char>(b[i])]) {
        return false;
      }
    }
    return true;
  }
};

struct Utf16NameEquals {
  bool operator()(std::u16string_view a, std::u16string_view b) const {
    if (a.size() != b.size()) {
      return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i])) {
        return false;
      }
    }
    return true;
  }
};

// A file that starts with the UTF-16 (little-endian) byte-order mark holds UTF-16 text, as on Windows.
struct Utf16File {
  std::u16string units;         // after the mark
  std::optional<char> oddByte;  // a last byte that makes no whole unit, kept as it was

  static std::optional<Utf16File> From(std::string_view bytes) {
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE) {
      return std::nullopt;
    }
    Utf16File file;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      file.units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    if (bytes.size() % 2 == 1) {
      file.oddByte = bytes.back();
    }
    return file;
  }

  std::string Bytes(std::u16string_view text) const {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
      bytes.push_back(static_cast<char>(unit & 0xFF));
      bytes.push_back(static_cast<char>(unit >> 8));
    }
    if (oddByte) {
      bytes.push_back(*oddByte);
    }
    return bytes;
  }
};

std::u16string Utf16FromAnsi(std::string_view ansi) {
  const std::string utf8 = AnsiToUtf8(ansi);
  std::u16string units;
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = DecodeUtf8(utf8, pos);
    if (cp == kInvalidCodePoint) {
      cp = U'?';
    }
    if (cp >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(cp));
    }
  }
  return units;
}

std::string AnsiFromUtf16(std::u16string_view units) {
  std::string utf8;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t cp = units[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = U'?';
    }
    AppendUtf8(utf8, cp);
  }
  return Utf8ToAnsi(utf8);
}

std::optional<std::u16string_view> OptionalView(const std::optional<std::u16string>& text) {
  return text ? std::optional<std::u16string_view>(*text) : std::nullopt;
}

std::optional<std::u16string> OptionalUtf16(std::optional<std::string_view> ansi) {
  return ansi ? std::optional<std::u16string>(Utf16FromAnsi(*ansi)) : std::nullopt;
}

// Reads and writes reuse buffers, one of each per thread: fresh memory for every file read or write
// costs as much as the parsing (the pages must be mapped again). Large files do not keep their memory.
struct ProfileBuffers {
  std::string read;
  std::string write;
};

// Kept until everything else of the thread has ended: INI managers write their defaults back then.
using ProfileBuffersSlot = platform::ThreadState<ProfileBuffers, platform::EndStage::kBuffers>;

ProfileBuffers& Buffers() {
  return ProfileBuffersSlot::Get();
}

std::string& ReadBuffer() {
  return Buffers().read;
}

std::string& WriteBuffer() {
  return Buffers().write;
}

void ReleaseBuffer(std::string& buffer) {
  constexpr std::size_t kKeptBytes = std::size_t{4} << 20;
  if (buffer.capacity() > kKeptBytes) {
    std::string().swap(buffer);
  }
}

bool HoldsLineBreakOrNul(std::optional<std::string_view> text) {
  return text && text->find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::size_t ProfileRead(std::string_view section, std::string_view key,
                        std::optional<std::string_view> defaultText, std::size_t capacity,
                        const std::string& fileName, std::string& text) {
  if (capacity == 0) {
    return 0;
  }
  std::string found;
  bool haveValue = false;
  std::string& content = ReadBuffer();
  if (ReadWholeFile(fileName, kMaxProfileBytes, content).Ok()) {
    if (const auto utf16 = Utf16File::From(content)) {
      const std::u16string wantedSection = Utf16FromAnsi(section);
      const std::u16string wantedKey = Utf16FromAnsi(key);
      if (const auto value =
              profile::FindValue<char16_t>(utf16->units, wantedSection, wantedKey, Utf16NameEquals{})) {
        found = AnsiFromUtf16(*value);
        haveValue = true;
      }
    } else if (const auto value =
                   profile::FindValueByAnchor(content, section, key, AnchorOf(section), AnsiNameEquals{})) {
      found.assign(*value);
      haveValue = true;
    }
  }
  if (!haveValue) {
    const std::string_view fallback = defaultText.value_or("");
    found.assign(fallback.substr(0, fallback.find_last_not_of(' ') + 1));
  }
  if (found.size() > capacity - 1) {
    found.resize(capacity - 1);
  }
  ReleaseBuffer(content);
  text = std::move(found);
  return text.size();
}

bool ProfileWrite(std::string_view section, std::optional<std::string_view> key,
                  std::optional<std::string_view> value, const std::string& fileName) {
  if (HoldsLineBreakOrNul(section) || HoldsLineBreakOrNul(key) || HoldsLineBreakOrNul(value)) {
    return false;
  }
  std::unique_ptr<LockedFile> file;
  if (!LockFileForUpdate(fileName, file).Ok()) {
    return false;
  }
  std::string& content = ReadBuffer();
  if (!file->ReadAll(kMaxProfileBytes, content).Ok()) {
    ReleaseBuffer(content);
    return false;  // unreadable or oversized: rewriting it could lose what we cannot see
  }
  std::string& edited = WriteBuffer();
  bool changed = false;
  if (const auto utf16 = Utf16File::From(content)) {
    std::u16string units;
    changed = profile::Edit<char16_t>(utf16->units, Utf16FromAnsi(section), OptionalView(OptionalUtf16(key)),
                                      OptionalView(OptionalUtf16(value)), Utf16NameEquals{}, units);
    if (changed) {
      edited = utf16->Bytes(units);
    }
  } else {
    changed = profile::Edit<char>(content, section, key, value, AnsiNameEquals{}, edited);
  }
  const bool done = !changed || edited == content || file->Replace(edited).Ok();
  ReleaseBuffer(content);
  ReleaseBuffer(edited);
  return done;
}

}  // namespace qlxw::platform
