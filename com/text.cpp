#include "com/text.h"

#include <new>

#include "platform/windows/wide_text.h"

namespace qlxw::com {

std::wstring Wide(std::string_view utf8) {
  return platform::WideFromUtf8(utf8);
}

std::string Utf8(const wchar_t* text, std::size_t length) {
  return platform::Utf8FromWide(std::wstring_view(text, length));
}

std::string FromBstr(BSTR text) {
  return text == nullptr ? std::string() : Utf8(text, SysStringLen(text));
}

NullableText FromBstrNullable(BSTR text) {
  if (text == nullptr) {
    return std::nullopt;
  }
  return Utf8(text, SysStringLen(text));
}

BSTR ToBstr(std::string_view utf8) {
  const std::wstring wide = Wide(utf8);
  BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (text == nullptr) {
    throw std::bad_alloc();
  }
  return text;
}

}  // namespace qlxw::com
