#include <windows.h>

#include <shlobj.h>

#include <string>

#include "os/shell_folders.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

std::string SpecialFolderPath(std::int32_t csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return {};
  }
  return Utf8FromWide(path);
}

std::string LibraryFolder() {
  // The module that holds this function: the DLL a host loaded, not the host's program.
  HMODULE module = nullptr;
  if (GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&LibraryFolder), &module) == 0) {
    return {};
  }
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return {};
    }
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t lastSeparator = path.find_last_of(L"\\/");
  return Utf8FromWide(lastSeparator == std::wstring::npos ? std::wstring() : path.substr(0, lastSeparator));
}

}  // namespace qlxw::platform
