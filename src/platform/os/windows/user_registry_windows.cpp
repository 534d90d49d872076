#include <windows.h>

#include <string>

#include "os/user_registry.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {
namespace {

std::wstring KeyPath(std::string_view key) {
  return L"Software\\QlxWCommon\\" + WideFromUtf8(key);
}

}  // namespace

bool UserRegistryAvailable() noexcept {
  return true;
}

std::optional<std::string> ReadUserRegistryText(std::string_view key, std::string_view name) {
  const std::wstring path = KeyPath(key);
  const std::wstring valueName = WideFromUtf8(name);
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), valueName.c_str(), RRF_RT_REG_SZ, &type, nullptr,
                   &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), valueName.c_str(), RRF_RT_REG_SZ, &type, text.data(),
                   &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(wcsnlen(text.c_str(), text.size()));
  return Utf8FromWide(text);
}

bool WriteUserRegistryText(std::string_view key, std::string_view name, std::string_view value) {
  HKEY handle = nullptr;
  const std::wstring path = KeyPath(key);
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const std::wstring valueName = WideFromUtf8(name);
  const std::wstring text = WideFromUtf8(value);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  const LSTATUS status = RegSetValueExW(handle, valueName.c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(text.c_str()), bytes);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

}  // namespace qlxw::platform
