#include <cstdio>
#include <string>

#include "errors/lib_error.h"
#include "os/notices.h"

namespace qlxw::platform::detail {

void SystemNotice(std::string_view text, std::string_view caption, NoticeIcon /*icon*/) {
  std::string line(kComponentName);
  if (caption != kComponentName) {
    line.append(": ").append(caption);
  }
  line.append(": ").append(text).append("\n");
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void SystemBeep() {
  std::fputs("\a", stderr);
}

}  // namespace qlxw::platform::detail
