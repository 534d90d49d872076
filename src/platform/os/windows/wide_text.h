#pragma once
// UTF-8 <-> UTF-16 for the Windows seams, and the BSTRs of automation.

#include <windows.h>

#include <oleauto.h>

#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace qlxw::platform {

inline std::wstring WideFromUtf8(std::string_view utf8) {
  if (utf8.empty()) {
    return {};
  }
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

inline std::string Utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) {
    return {};
  }
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
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
