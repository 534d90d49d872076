#include "os/notices.h"

#include <atomic>

namespace qlxw::platform {
namespace {

std::atomic<NoticeSink*> gSink{nullptr};

}  // namespace

NoticeSink* ReplaceNoticeSink(NoticeSink* sink) noexcept {
  return gSink.exchange(sink);
}

void ShowNotice(std::string_view text, std::string_view caption, NoticeIcon icon) {
  if (NoticeSink* sink = gSink.load()) {
    sink->Notice(text, caption, icon);
    return;
  }
  detail::SystemNotice(text, caption, icon);
}

namespace detail {

unsigned NoticeBoxStyle(NoticeIcon icon) noexcept {
  constexpr unsigned kOk = 0;
  constexpr unsigned kStop = 16;
  constexpr unsigned kExclamation = 48;
  return kOk | (icon == NoticeIcon::kCriticalStop ? kStop : kExclamation);
}

}  // namespace detail

void SoundBeep() {
  if (NoticeSink* sink = gSink.load()) {
    sink->Beep();
    return;
  }
  detail::SystemBeep();
}

}  // namespace qlxw::platform
