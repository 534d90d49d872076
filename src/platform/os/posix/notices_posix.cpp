#include <cstdio>
#include <string>

#include "os/notices.h"

namespace qlxw::platform {

void detail::ShowNoticeToUser(std::string_view text, std::string_view caption, NoticeIcon /*icon*/) {
  const std::string line = std::string(caption) + ": " + std::string(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void SoundBeep() {
  // No console of our own to ring: the library has no window and no terminal here.
}

}  // namespace qlxw::platform
