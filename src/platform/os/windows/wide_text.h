#pragma once
// Text to and from UTF-16 for the Windows seams (UTF-8 and the 8-bit code pages), and the BSTRs of
// automation. The one place of these conversions: the COM server uses them too.

#include <windows.h>

#include <oleauto.h>

#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace qlxw::platform {

// Text of a code page (CP_UTF8, CP_ACP, ...) as UTF-16.
inline std::wstring WideFromCodePage(std::string_view text, UINT codePage) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

// UTF-16 as text of a code page; characters the code page lacks become `replacement` (UTF-8 lacks
// none and takes none).
inline std::string CodePageFromWide(std::wstring_view wide, UINT codePage,
                                    const char* replacement = nullptr) {
  if (wide.empty()) {
    return {};
  }
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, replacement, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, replacement, nullptr);
  return text;
}

inline std::wstring WideFromUtf8(std::string_view utf8) {
  return WideFromCodePage(utf8, CP_UTF8);
}

inline std::string Utf8FromWide(std::wstring_view wide) {
  return CodePageFromWide(wide, CP_UTF8);
}

// A null BSTR reads as "".
inline std::string Utf8FromBstr(BSTR text) {
  return text == nullptr ? std::string() : Utf8FromWide(std::wstring_view(text, SysStringLen(text)));
}

// A null BSTR (a host's null string) stays null, for callers that tell it from "".
inline std::optional<std::string> Utf8FromBstrNullable(BSTR text) {
  if (text == nullptr) {
    return std::nullopt;
  }
  return Utf8FromBstr(text);
}

// A new BSTR the caller owns.
inline BSTR BstrFromUtf8(std::string_view utf8) {
  const std::wstring wide = WideFromUtf8(utf8);
  BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (text == nullptr) {
    throw std::bad_alloc();
  }
  return text;
}

// Owns one BSTR made from UTF-8 text.
class Bstr {
 public:
  explicit Bstr(std::string_view utf8) : text_(BstrFromUtf8(utf8)) {}
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&&) = delete;
  Bstr& operator=(Bstr&&) = delete;
  BSTR get() const noexcept { return text_; }
  BSTR* address() noexcept { return &text_; }

 private:
  BSTR text_;
};

}  // namespace qlxw::platform
