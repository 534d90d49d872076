#include "os/notices.h"

#include <atomic>

namespace qlxw::platform {
namespace {

std::atomic<NoticeObserver> gObserver{nullptr};

}  // namespace

void ShowNotice(std::string_view text, std::string_view caption, NoticeIcon icon) {
  if (const NoticeObserver observer = gObserver.load()) {
    observer(text, caption, icon);
    return;
  }
  detail::ShowNoticeToUser(text, caption, icon);
}

void ObserveNotices(NoticeObserver observer) noexcept {
  gObserver.store(observer);
}

}  // namespace qlxw::platform
