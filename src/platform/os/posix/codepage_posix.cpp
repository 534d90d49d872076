#include <cstdlib>
#include <string>

#include "os/codepage.h"
#include "os/posix/single_byte_code_page.h"

namespace qlxw::platform {
namespace {

constexpr std::int32_t kDefaultCodePage = 1250;

// Read once per process, like Windows' ANSI code page, which cannot change while a program runs.
const SingleByteCodePage& ActiveCodePage() {
  static const SingleByteCodePage page = [] {
    if (const char* wanted = std::getenv("QLXW_ACP"); wanted != nullptr && *wanted != '\0') {
      char* end = nullptr;
      const long number = std::strtol(wanted, &end, 10);
      if (*end == '\0' && number > 0 && number < 100000) {
        if (auto loaded = SingleByteCodePage::Load(static_cast<std::int32_t>(number))) {
          return *loaded;
        }
      }
    }
    if (auto fallback = SingleByteCodePage::Load(kDefaultCodePage)) {
      return *fallback;
    }
    return SingleByteCodePage::Latin1();
  }();
  return page;
}

}  // namespace

std::int32_t AnsiCodePage() {
  return ActiveCodePage().Number();
}

std::string Utf8ToAnsi(std::string_view utf8) {
  return ActiveCodePage().ToAnsi(utf8);
}

std::string AnsiToUtf8(std::string_view ansi) {
  return ActiveCodePage().ToUtf8(ansi);
}

}  // namespace qlxw::platform
