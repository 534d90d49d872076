#include "os/posix/single_byte_code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "text/utf8.h"

namespace qlxw::platform {
namespace {

enum class ByteResult { kMapped, kUndefined, kIncomplete };

// One byte through iconv to UTF-32LE.
ByteResult ConvertByte(iconv_t cd, unsigned char byte, char32_t& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char input = static_cast<char>(byte);
  char* in = &input;
  std::size_t inLeft = 1;
  std::array<unsigned char, 16> buffer{};
  char* outPtr = reinterpret_cast<char*>(buffer.data());
  std::size_t outLeft = buffer.size();
  const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  if (rc == static_cast<std::size_t>(-1)) {
    return errno == EINVAL ? ByteResult::kIncomplete : ByteResult::kUndefined;
  }
  // Flush: code pages with combining marks hold a base character back until the end.
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  if (buffer.size() - outLeft < 4) {
    return ByteResult::kUndefined;
  }
  out = static_cast<char32_t>(buffer[0] | (buffer[1] << 8) | (buffer[2] << 16) | (buffer[3] << 24));
  return ByteResult::kMapped;
}

}  // namespace

std::optional<SingleByteCodePage> SingleByteCodePage::Load(std::int32_t codePage) {
  if (codePage <= 0) {
    return std::nullopt;
  }
  const std::string number = std::to_string(codePage);
  // iconv reports failure as the handle value -1.
  auto* const failed = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
  iconv_t cd = iconv_open("UTF-32LE", ("CP" + number).c_str());
  if (cd == failed) {
    cd = iconv_open("UTF-32LE", ("WINDOWS-" + number).c_str());
  }
  if (cd == failed) {
    return std::nullopt;
  }
  SingleByteCodePage page(codePage);
  int incomplete = 0;
  for (unsigned value = 0; value < 256; ++value) {
    char32_t cp = 0;
    switch (ConvertByte(cd, static_cast<unsigned char>(value), cp)) {
      case ByteResult::kMapped:
        page.toUnicode_[value] = cp;
        break;
      case ByteResult::kIncomplete:
        ++incomplete;
        [[fallthrough]];
      case ByteResult::kUndefined:
        // Windows maps a byte its code page leaves undefined to the control character of that value.
        page.toUnicode_[value] = value;
        break;
    }
  }
  iconv_close(cd);
  if (incomplete > 0) {
    return std::nullopt;  // lead bytes of a multi-byte code page
  }
  for (unsigned value = 0; value < 256; ++value) {
    page.fromUnicode_.emplace_back(page.toUnicode_[value], static_cast<unsigned char>(value));
  }
  std::sort(page.fromUnicode_.begin(), page.fromUnicode_.end());
  // Keep the first byte for a character that two bytes map to.
  page.fromUnicode_.erase(std::unique(page.fromUnicode_.begin(), page.fromUnicode_.end(),
                                      [](const auto& a, const auto& b) { return a.first == b.first; }),
                          page.fromUnicode_.end());
  return page;
}

SingleByteCodePage SingleByteCodePage::Latin1() {
  SingleByteCodePage page(28591);
  for (unsigned value = 0; value < 256; ++value) {
    page.toUnicode_[value] = value;
    page.fromUnicode_.emplace_back(value, static_cast<unsigned char>(value));
  }
  return page;
}

std::string SingleByteCodePage::ToAnsi(std::string_view utf8) const {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < 0x80 && toUnicode_[byte] == byte) {
      out.push_back(static_cast<char>(byte));
      ++pos;
      continue;
    }
    const char32_t cp = DecodeUtf8(utf8, pos);
    const auto found = std::lower_bound(fromUnicode_.begin(), fromUnicode_.end(), cp,
                                        [](const auto& entry, char32_t key) { return entry.first < key; });
    const bool mapped = found != fromUnicode_.end() && found->first == cp;
    out.push_back(mapped ? static_cast<char>(found->second) : '?');
  }
  return out;
}

std::string SingleByteCodePage::ToUtf8(std::string_view ansi) const {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 4);
  for (const char c : ansi) {
    AppendUtf8(out, toUnicode_[static_cast<unsigned char>(c)]);
  }
  return out;
}

}  // namespace qlxw::platform
