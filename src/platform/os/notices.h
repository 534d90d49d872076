#pragma once
// Telling the user something the library cannot return to its caller: a message box on Windows,
// a line on standard error elsewhere; and the system's beep.
#include <string_view>

namespace qlxw::platform {

// The icon a message box shows.
enum class NoticeIcon {
  kExclamation,
  kCriticalStop,
};

// Waits until the user has seen it where there is a desktop; returns at once where there is none.
void ShowNotice(std::string_view text, std::string_view caption, NoticeIcon icon = NoticeIcon::kExclamation);

void SoundBeep();

// Tests watch notices instead of the user seeing them: while an observer is set, notices go to it
// alone. Null gives them back to the user.
using NoticeObserver = void (*)(std::string_view text, std::string_view caption, NoticeIcon icon);
void ObserveNotices(NoticeObserver observer) noexcept;

namespace detail {
// Each platform's own way of showing a notice.
void ShowNoticeToUser(std::string_view text, std::string_view caption, NoticeIcon icon);
}  // namespace detail

}  // namespace qlxw::platform
