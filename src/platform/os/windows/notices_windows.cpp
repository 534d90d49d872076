#include <windows.h>

#include "os/notices.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform::detail {

void SystemNotice(std::string_view text, std::string_view caption, NoticeIcon icon) {
  const std::wstring wideText = WideFromUtf8(text);
  const std::wstring wideCaption = WideFromUtf8(caption);
  const UINT iconStyle = icon == NoticeIcon::kCriticalStop ? MB_ICONHAND : MB_ICONEXCLAMATION;
  MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(), MB_OK | iconStyle | MB_TASKMODAL);
}

void SystemBeep() {
  MessageBeep(0xFFFFFFFFu);
}

}  // namespace qlxw::platform::detail
