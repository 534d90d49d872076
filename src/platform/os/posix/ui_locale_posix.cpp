#include <cstdlib>

#include "os/ui_locale.h"

namespace qlxw::platform {

// POSIX precedence for the messages category: LC_ALL, then LC_MESSAGES, then LANG.
std::string SystemUiLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
      return value;
    }
  }
  return {};
}

}  // namespace qlxw::platform
