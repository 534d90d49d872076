#include <windows.h>

#include <filesystem>
#include <string>

#include "os/running_program.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

std::string RunningProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return Utf8FromWide(std::filesystem::path(path).parent_path().native());
}

bool FolderWritable(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(std::filesystem::path(WideFromUtf8(path)), error);
  return !error &&
         (status.permissions() & std::filesystem::perms::owner_write) != std::filesystem::perms::none;
}

std::string SystemErrorText(int error) {
  // The wide form, so that a message in another language than English arrives as UTF-8.
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = text == nullptr ? std::string() : Utf8FromWide(std::wstring_view(text, length));
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(error) : message;
}

}  // namespace qlxw::platform
