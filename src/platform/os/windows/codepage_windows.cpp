#include "os/codepage.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform {

std::int32_t AnsiCodePage() {
  return static_cast<std::int32_t>(GetACP());
}

std::string Utf8ToAnsi(std::string_view utf8) {
  return CodePageFromWide(WideFromUtf8(utf8), CP_ACP, "?");
}

std::string AnsiToUtf8(std::string_view ansi) {
  return Utf8FromWide(WideFromCodePage(ansi, CP_ACP));
}

}  // namespace qlxw::platform
