#include "com/text.h"

#include "os/windows/wide_text.h"

namespace qlxw::com {

std::wstring Wide(std::string_view utf8) {
  return platform::WideFromUtf8(utf8);
}

std::string FromBstr(BSTR text) {
  return platform::Utf8FromBstr(text);
}

NullableText FromBstrNullable(BSTR text) {
  if (text == nullptr) {
    return std::nullopt;
  }
  return platform::Utf8FromBstr(text);
}

BSTR ToBstr(std::string_view utf8) {
  return platform::BstrFromUtf8(utf8);
}

}  // namespace qlxw::com
