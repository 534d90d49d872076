#include <cstdio>
#include <string>

#include "errors/lib_error.h"
#include "os/notices.h"

namespace qlxw::platform::detail {

void SystemNotice(std::string_view text, std::string_view caption, NoticeIcon /*icon*/) {
  const std::string line =
      std::string(kComponentName) + ": " + std::string(caption) + ": " + std::string(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void SystemBeep() {
  std::fputs("\a", stderr);
}

}  // namespace qlxw::platform::detail
