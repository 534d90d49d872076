#include "com/server/classes_root.h"

#include <objbase.h>

namespace qlxw::com {

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

ClassesRoot ClassesRoot::Machine() {
  return {HKEY_CLASSES_ROOT, L""};
}

ClassesRoot ClassesRoot::User() {
  return {HKEY_CURRENT_USER, L"Software\\Classes\\"};
}

bool ClassesRoot::SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) const {
  HKEY handle = nullptr;
  const std::wstring path = prefix_ + key;
  if (RegCreateKeyExW(base_, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  const LSTATUS status =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

void ClassesRoot::DeleteTree(const std::wstring& key) const {
  const std::wstring path = prefix_ + key;
  RegDeleteTreeW(base_, path.c_str());
  RegDeleteKeyW(base_, path.c_str());
}

bool ClassesRoot::HasSubkeys(const std::wstring& key) const {
  HKEY handle = nullptr;
  const std::wstring path = prefix_ + key;
  if (RegOpenKeyExW(base_, path.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return false;
  }
  DWORD count = 0;
  const LSTATUS status = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS && count > 0;
}

bool ClassesRoot::InOtherView(const std::wstring& key) const {
  constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  // The machine's own classes: HKEY_CLASSES_ROOT would also show the user's.
  const bool machine = base_ == HKEY_CLASSES_ROOT;
  HKEY handle = nullptr;
  const std::wstring path = (machine ? std::wstring(L"Software\\Classes\\") : prefix_) + key;
  if (RegOpenKeyExW(machine ? HKEY_LOCAL_MACHINE : base_, path.c_str(), 0, KEY_READ | kOtherView, &handle) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

}  // namespace qlxw::com
