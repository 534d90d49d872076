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
// Elsewhere than Windows the line is "QlxWCommon: <caption>: <text>" on standard error, the caption
// left out when it is the program's name already.
void ShowNotice(std::string_view text, std::string_view caption, NoticeIcon icon = NoticeIcon::kExclamation);

// The system's beep; elsewhere than Windows the terminal bell on standard error.
void SoundBeep();

// Where notices go instead of the user, for tests: a recording double.
class NoticeSink {
 public:
  virtual ~NoticeSink() = default;
  virtual void Notice(std::string_view text, std::string_view caption, NoticeIcon icon) = 0;
  virtual void Beep() = 0;
};

// Puts `sink` in place of the user for the whole process (null gives the user back); returns the
// sink it replaces.
NoticeSink* ReplaceNoticeSink(NoticeSink* sink) noexcept;

namespace detail {
// The message box style of a notice: an OK button and its icon, nothing else (16 or 48).
unsigned NoticeBoxStyle(NoticeIcon icon) noexcept;

// The platform's own notice and beep.
void SystemNotice(std::string_view text, std::string_view caption, NoticeIcon icon);
void SystemBeep();
}  // namespace detail

}  // namespace qlxw::platform
