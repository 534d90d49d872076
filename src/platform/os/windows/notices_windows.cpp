#include <windows.h>

#include "os/notices.h"
#include "os/windows/wide_text.h"

namespace qlxw::platform::detail {

void SystemNotice(std::string_view text, std::string_view caption, NoticeIcon icon) {
  const std::wstring wideText = WideFromUtf8(text);
  const std::wstring wideCaption = WideFromUtf8(caption);
  // Owned by the thread's active window, as a host's own message box is: modal to it without a
  // flag of its own, and a host without a window gets a box of its own.
  MessageBoxW(GetActiveWindow(), wideText.c_str(), wideCaption.c_str(), NoticeBoxStyle(icon));
}

void SystemBeep() {
  MessageBeep(0xFFFFFFFFu);
}

}  // namespace qlxw::platform::detail
