#include <windows.h>

#include <oleauto.h>

#include "os/text_to_boolean.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

std::optional<bool> SystemTextToBoolean(std::string_view text) {
  const std::wstring wide = WideFromUtf8(text);
  BSTR value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (value == nullptr) {
    return std::nullopt;
  }
  VARIANT_BOOL result = VARIANT_FALSE;
  const HRESULT converted = VarBoolFromStr(value, LOCALE_USER_DEFAULT, 0, &result);
  SysFreeString(value);
  if (FAILED(converted)) {
    return std::nullopt;
  }
  return result != VARIANT_FALSE;
}

}  // namespace qlxw::platform
