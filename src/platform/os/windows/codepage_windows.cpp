#include "os/codepage.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

std::int32_t AnsiCodePage() {
  return static_cast<std::int32_t>(GetACP());
}

std::string Utf8ToAnsi(std::string_view utf8) {
  const std::wstring wide = WideFromUtf8(utf8);
  if (wide.empty()) {
    return {};
  }
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, "?", nullptr);
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, "?", nullptr);
  return ansi;
}

std::string AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) {
    return {};
  }
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
  return Utf8FromWide(wide);
}

}  // namespace qlxw::platform
