#include <windows.h>

#include "os/notices.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform::detail {

void SystemNotice(std::string_view text, std::string_view caption) {
  const std::wstring wideText = WideFromUtf8(text);
  const std::wstring wideCaption = WideFromUtf8(caption);
  MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(), MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

void SystemBeep() {
  MessageBeep(0xFFFFFFFFu);
}

}  // namespace qlxw::platform::detail
